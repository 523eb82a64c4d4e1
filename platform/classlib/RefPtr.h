// RefPtr<T> holds one reference on a reference-counted object and gives it up when it goes. Taking over a reference
// and adding one are spelled differently, so a reader sees at each place whose reference the pointer holds:
//
//   RefPtr<COSMPropExchange> section = RefPtr<COSMPropExchange>::Adopt(px->GetSection("Item"));  // the call's
//   RefPtr<COSMControl> keep = RefPtr<COSMControl>::Retain(control);                             // one more
//   RefPtr<COSMControl> copy = keep;                                                              // one more
//   m_paintManager = RefPtr<COSMPaintManager>::Retain(paintManager);  // the new one is held before the old goes
//   COSMMarkupObject* handedOver = value.Detach();                    // the caller owns that reference now
//
// AdoptRef(p) and RetainRef(p) do the same with T deduced. It works for any class the traits below know how to
// count: command targets (InternalAddRef/InternalRelease) and anything with AddRef/Release (markup objects, COM
// interfaces). Not thread-safe itself: one pointer belongs to one thread, the count it holds is interlocked.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

// How a reference is added and given up: InternalAddRef/InternalRelease where the class has them (a command target's
// COM face counts the same references), else AddRef/Release.
template <class T, class = void> struct RefCountTraits
{
    static void AddRef(T* object) { object->AddRef(); }
    static void Release(T* object) { object->Release(); }
};

template <class T>
struct RefCountTraits<
    T, std::void_t<decltype(std::declval<T*>()->InternalAddRef()), decltype(std::declval<T*>()->InternalRelease())>>
{
    static void AddRef(T* object) { object->InternalAddRef(); }
    static void Release(T* object) { object->InternalRelease(); }
};

template <class T> class RefPtr
{
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) {}

    // Takes over the reference the caller owns (what a create function or a GetSection returned).
    [[nodiscard]] static RefPtr Adopt(T* object)
    {
        RefPtr held;
        held.m_object = object;
        return held;
    }
    // Adds a reference of its own; the caller keeps its pointer as it was (borrowed or owned).
    [[nodiscard]] static RefPtr Retain(T* object)
    {
        if (object)
            RefCountTraits<T>::AddRef(object);
        return Adopt(object);
    }

    RefPtr(const RefPtr& other) : RefPtr(Retain(other.m_object)) {}
    RefPtr(RefPtr&& other) noexcept : m_object(other.Detach()) {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(const RefPtr<U>& other) : RefPtr(Retain(other.Get()))
    {}
    template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    RefPtr(RefPtr<U>&& other) noexcept : m_object(other.Detach())
    {}
    ~RefPtr() { Reset(); }

    // The new object is held before the old one is released, so assigning the object already held is safe.
    RefPtr& operator=(RefPtr other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    explicit operator bool() const { return m_object != nullptr; }

    // Gives up the reference held (if any) and holds nothing.
    void Reset()
    {
        if (T* object = Detach())
            RefCountTraits<T>::Release(object);
    }
    // Gives up the reference held and takes over object's (as Adopt does).
    void Attach(T* object) { *this = Adopt(object); }
    // Hands the reference to the caller, who releases it; the pointer holds nothing afterwards.
    T* Detach()
    {
        T* object = m_object;
        m_object = nullptr;
        return object;
    }

    friend bool operator==(const RefPtr& a, const RefPtr& b) { return a.m_object == b.m_object; }
    friend bool operator!=(const RefPtr& a, const RefPtr& b) { return a.m_object != b.m_object; }
    friend bool operator==(const RefPtr& a, const T* b) { return a.m_object == b; }
    friend bool operator!=(const RefPtr& a, const T* b) { return a.m_object != b; }
    friend bool operator==(const T* a, const RefPtr& b) { return a == b.m_object; }
    friend bool operator!=(const T* a, const RefPtr& b) { return a != b.m_object; }
    friend bool operator==(const RefPtr& a, std::nullptr_t) { return !a.m_object; }
    friend bool operator!=(const RefPtr& a, std::nullptr_t) { return a.m_object != nullptr; }

private:
    T* m_object = nullptr;
};

template <class T> [[nodiscard]] RefPtr<T> AdoptRef(T* object)
{
    return RefPtr<T>::Adopt(object);
}

template <class T> [[nodiscard]] RefPtr<T> RetainRef(T* object)
{
    return RefPtr<T>::Retain(object);
}
