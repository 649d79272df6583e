#include "engine/TickerluxEngine.h"

namespace tickerlux::engine {

CTickerluxEngine::CTickerluxEngine(settings::CTickerluxDoc& doc, IUserInterface& ui)
    : m_doc(doc), m_ui(ui), m_clock([] { return std::time(nullptr); })
{
}

CTickerluxEngine::~CTickerluxEngine() = default;

std::string_view CTickerluxEngine::PageText() const
{
    const std::string_view page = m_page;
    return page.substr(0, page.find('\0'));
}

} // namespace tickerlux::engine
