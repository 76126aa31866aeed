// A stack of fixed capacity over one block allocated at construction. A push onto a full stack
// is dropped (and reported), never grown: callers that must not lose entries size it for the worst
// case.
#pragma once

#include "engine/Memory.h"

#include <type_traits>

template <typename T>
class xqstack {
    static_assert(std::is_trivially_copyable_v<T>, "entries are copied as plain bytes");

  public:
    explicit xqstack(int capacity) {
        if (capacity > 0) m_items = static_cast<T*>(MemAlloc(sizeof(T) * size_t(capacity)));
        m_capacity = m_items ? capacity : 0;
    }
    ~xqstack() { MemFree(m_items); }
    xqstack(const xqstack&) = delete;
    xqstack& operator=(const xqstack&) = delete;

    // False when the block could not be allocated (the stack then holds nothing).
    bool Valid() const { return m_items != nullptr; }
    int Capacity() const { return m_capacity; }
    int Count() const { return m_top; }
    bool Empty() const { return m_top == 0; }
    void Clear() { m_top = 0; }

    // False, with the stack unchanged, when it is full.
    bool Push(const T& item) {
        if (m_top >= m_capacity) return false;
        m_items[m_top++] = item;
        return true;
    }
    // False when empty.
    bool Pop(T* out) {
        if (m_top == 0) return false;
        *out = m_items[--m_top];
        return true;
    }

  private:
    T* m_items = nullptr;
    int m_capacity = 0;
    int m_top = 0;
};
