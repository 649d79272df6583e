#include "engine/TickerluxEngine.h"

CTickerluxEngine::CTickerluxEngine(CTickerluxDoc& doc, IUserInterface& ui)
    : m_doc(doc), m_ui(ui), m_pageBuffer(new char[kPageBufferSize]()),
      m_transmission(new unsigned char[kTransmissionBufferSize]()),
      m_clock([] { return std::time(nullptr); })
{
}

CTickerluxEngine::~CTickerluxEngine() = default;
