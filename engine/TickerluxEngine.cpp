#include "engine/TickerluxEngine.h"

namespace tickerlux::engine {

CTickerluxEngine::CTickerluxEngine(settings::CTickerluxDoc& doc, IUserInterface& ui)
    : m_doc(doc), m_ui(ui), m_pageBuffer(new char[kPageBufferSize]()),
      m_transmission(new unsigned char[kTransmissionBufferSize]()),
      m_clock([] { return std::time(nullptr); })
{
}

CTickerluxEngine::~CTickerluxEngine() = default;

} // namespace tickerlux::engine
