// The attraction's ring queues.
#include "game/Ents/AttrRing.h"

#include <new>

AttrRing::~AttrRing() {
    delete[] m_items;
}

bool AttrRing::Init(int capacity) {
    delete[] m_items;
    m_items = nullptr;
    m_capacity = m_count = m_head = 0;
    if (capacity <= 0) return true;
    m_items = new (std::nothrow) AttrRingEntry[capacity];
    if (!m_items) return false;
    m_capacity = capacity;
    return true;
}

bool AttrRing::Push(const AttrRingEntry& entry) {
    if (m_count >= m_capacity) return false;
    m_items[(m_head + m_count) % m_capacity] = entry;
    ++m_count;
    return true;
}

AttrRingEntry AttrRing::Pop() {
    if (m_count == 0) return AttrRingEntry{};
    AttrRingEntry front = m_items[m_head];
    m_items[m_head] = AttrRingEntry{};
    --m_count;
    if (++m_head >= m_capacity) m_head = 0;
    return front;
}

int AttrRing::Find(const ENTBASE* entity) const {
    for (int i = 0; i < m_count; ++i)
        if (m_items[(m_head + i) % m_capacity].entity == entity) return i;
    return -1;
}

AttrRingEntry& AttrRing::At(int i) {
    return m_items[(m_head + i) % m_capacity];
}

AttrRingEntry AttrRing::RemoveAt(int i) {
    AttrRingEntry gone = At(i);
    for (int k = i; k + 1 < m_count; ++k)
        At(k) = At(k + 1);
    At(m_count - 1) = AttrRingEntry{};
    --m_count;
    if (m_count == 0) m_head = 0;
    return gone;
}

void AttrRing::Clear() {
    for (int i = 0; i < m_count; ++i)
        At(i) = AttrRingEntry{};
    m_count = m_head = 0;
}
