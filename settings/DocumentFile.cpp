// The settings file side of CTickerluxDoc: Serialize and the open/save handling around it.
#include "base/FileIo.h"
#include "settings/Archive.h"
#include "settings/TickerluxDoc.h"

namespace tickerlux::settings {

namespace {
constexpr const char* kFormatVersion = "1.00";
// Far beyond any real settings file; stops a device or a runaway file from taking all memory.
constexpr std::size_t kMaxFileSize = 64u << 20;
} // namespace

void CTickerluxDoc::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kFormatVersion;
        SerializeFeedFields(ar, *this);
        return;
    }
    // Any version text loads; the fields are read in place, one after the other.
    std::string version;
    ar >> version;
    SerializeFeedFields(ar, *this);
    SourceText.clear();
    UpdateAllViews();
}

base::Failure CTickerluxDoc::OnOpenDocument(const std::string& path)
{
    std::string bytes;
    if (const base::Status status = base::ReadAll(path, bytes, kMaxFileSize); !status.Ok())
        return {base::FailureKind::FileUnreadable, path, status.Reason()};

    // A zero-byte file holds no values: it opens and changes no field.
    if (!bytes.empty()) {
        try {
            CArchive ar(bytes);
            Serialize(ar);
        } catch (const CArchiveException&) {
            // The fields were already being overwritten: start afresh as File > New does, and
            // show the views the document they now hold.
            OnNewDocument();
            UpdateAllViews();
            return {base::FailureKind::FileUnexpectedFormat, path, ""};
        }
    }
    SetPathName(path);
    SetModifiedFlag(false);
    return {};
}

base::Failure CTickerluxDoc::OnSaveDocument(const std::string& path)
{
    CArchive ar;
    Serialize(ar);
    if (const base::Status status = base::ReplaceAtomically(path, ar.StoredBytes());
        !status.Ok())
        return {base::FailureKind::FileNotSaved, path, status.Reason()};
    SetPathName(path);
    SetModifiedFlag(false);
    return {};
}

} // namespace tickerlux::settings
