// Feeds arbitrary bytes to the settings-file reader. Besides memory errors (the sanitizers), it
// checks that whatever loads is written back in a form that loads to the same fields.
#include "settings/Archive.h"
#include "settings/TickerluxDoc.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace tickerlux;
using namespace tickerlux::settings;

namespace {

bool SameFeedFields(const CTickerluxDoc& a, const CTickerluxDoc& b)
{
    return a.WebServer == b.WebServer && a.WebPath == b.WebPath &&
           a.ReservedText == b.ReservedText && a.AutoUpdate == b.AutoUpdate &&
           a.UpdateMinutes == b.UpdateMinutes && a.TextBefore == b.TextBefore &&
           a.TextAfter == b.TextAfter && a.LeadingComment == b.LeadingComment &&
           a.ColorIndex == b.ColorIndex && a.Condensed == b.Condensed &&
           a.ReservedFlag == b.ReservedFlag && a.ShowTime == b.ShowTime;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CTickerluxDoc doc;
    try {
        CArchive in(std::string_view(reinterpret_cast<const char*>(data), size));
        doc.Serialize(in);
    } catch (const CArchiveException&) {
        return 0;
    }

    CArchive out;
    doc.Serialize(out);
    CTickerluxDoc again;
    CArchive reread(out.StoredBytes());
    again.Serialize(reread);
    if (!SameFeedFields(doc, again) || reread.BytesLeft() != 0)
        std::abort();
    return 0;
}
