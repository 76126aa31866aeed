// A link to an entity kept across calls that may destroy it: the entity's address with its
// serial number, so that a later entity made at the same address is never taken for it.
#pragma once

#include "engine/EntTree.h"

#include <cstdint>

class EntRef {
  public:
    EntRef() = default;
    // Remembers the entity as it is now: a dead or null entity gives a link that is never live.
    EntRef(ENTBASE* entity) : m_entity(entity), m_serial(EntSerialOf(entity)) {}

    // The entity, or null once it is gone.
    ENTBASE* Get() const { return EntIsLiveSerial(m_entity, m_serial) ? m_entity : nullptr; }
    operator ENTBASE*() const { return Get(); }
    ENTBASE* operator->() const { return Get(); }
    // The address last given, live or not, for code that only compares it.
    ENTBASE* Address() const { return m_entity; }
    // The serial number it was made with (0 for a link never live).
    uint64_t Serial() const { return m_serial; }

  private:
    ENTBASE* m_entity = nullptr;
    uint64_t m_serial = 0;
};
