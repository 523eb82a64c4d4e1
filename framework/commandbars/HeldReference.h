// One reference held on a reference-counted object, replaced in place: the new object is referenced before the old
// one is released, so storing the object already held is safe.
#pragma once

#include <memory>

template <class T> void ReplaceHeldReference(T*& held, T* object)
{
    if (object)
        object->InternalAddRef();
    if (held)
        held->InternalRelease();
    held = object;
}

// Keeps an object alive for a scope (a command that may make its own bar let go of it): one reference taken at
// construction, given up at the end.
template <class T> class ScopedReference
{
public:
    explicit ScopedReference(T* object) : m_object(object)
    {
        if (m_object)
            m_object->InternalAddRef();
    }
    ~ScopedReference()
    {
        if (m_object)
            m_object->InternalRelease();
    }
    ScopedReference(const ScopedReference&) = delete;
    ScopedReference& operator=(const ScopedReference&) = delete;

private:
    T* m_object;
};

// Owns the one reference a call handed over (a section of a property exchange, a loaded bar or control): released
// when the pointer goes.
struct ReleaseReference
{
    template <class T> void operator()(T* object) const
    {
        if (object)
            object->InternalRelease();
    }
};
template <class T> using OwnedReference = std::unique_ptr<T, ReleaseReference>;
