// One instance per process, created on first use and kept for the rest of the
// run (never destroyed, so it outlives every thread that may still use it).
#pragma once

template <class T>
class Singleton {
public:
    static T& Instance() {
        static T* const instance = new T();
        return *instance;
    }

protected:
    Singleton() {}
};
