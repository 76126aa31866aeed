// The ring queue of an attraction's waiting line and of its riders: a fixed capacity, a head and
// a count. Entries keep the patron's entity and serial next to the patron so that a patron that
// has gone can be recognised without touching it.
#pragma once

#include <cstdint>

class AttrPatron;
class ENTBASE;

struct AttrRingEntry {
    AttrPatron* patron = nullptr;
    ENTBASE* entity = nullptr;
    uint64_t serial = 0;
    bool seated = false; // riders: reached the seat (AttrBaseRiderSeated)
};

class AttrRing {
  public:
    AttrRing() = default;
    ~AttrRing();
    AttrRing(const AttrRing&) = delete;
    AttrRing& operator=(const AttrRing&) = delete;

    // An empty ring of that many entries (below 0 counts as 0); false when memory fails.
    bool Init(int capacity);
    // At the back; false when full (always for capacity 0).
    bool Push(const AttrRingEntry& entry);
    // The front entry, or an entry with a null patron when empty.
    AttrRingEntry Pop();
    // Distance from the front, -1 when absent.
    int Find(const ENTBASE* entity) const;
    // The i-th from the front (0 <= i < Count()).
    AttrRingEntry& At(int i);
    // Takes the i-th out, the others keeping their order.
    AttrRingEntry RemoveAt(int i);
    void Clear();

    int Count() const { return m_count; }
    int Capacity() const { return m_capacity; }

  private:
    AttrRingEntry* m_items = nullptr;
    int m_capacity = 0;
    int m_count = 0;
    int m_head = 0;
};
