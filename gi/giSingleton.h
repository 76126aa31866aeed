// Process-wide instances of the model library: a per-class live count with a limit, and the
// singleton base that stores the one instance.
#pragma once

#include "gi/giDebug.h"

#include <stdexcept>

// Counts the live objects of T; constructing one past `Limit` stores the error text and throws,
// so the construction fails.
template <class T, int Limit>
class giInstanceCounter {
  public:
    static void Init() {
        if (s_count >= Limit) {
            giErrorText() = "[giInstanceCounter::Init] Too many objects of this type created.";
            throw std::runtime_error(giErrorText());
        }
        ++s_count;
    }
    static void Release() { --s_count; }
    static int Count() { return s_count; }

  private:
    static inline int s_count = 0;
};

// Base of the library's singletons. The base never deletes the instance: its owner does.
template <class T>
class giSingleton {
  public:
    // The cast waits until it is asked for: during the base's construction the object is not
    // a T yet.
    static T* Instance() { return static_cast<T*>(s_instance); }
    static int LiveCount() { return giInstanceCounter<T, 1>::Count(); }

  protected:
    giSingleton() {
        giInstanceCounter<T, 1>::Init();
        s_instance = this;
    }
    ~giSingleton() {
        if (giInstanceCounter<T, 1>::Count() == 1) s_instance = nullptr;
        giInstanceCounter<T, 1>::Release();
    }
    giSingleton(const giSingleton&) = delete;
    giSingleton& operator=(const giSingleton&) = delete;

    static inline giSingleton* s_instance = nullptr;
};
