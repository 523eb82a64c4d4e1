// Owns one icon handle and destroys it when it goes (DestroyIcon). Icons are not GDI objects of the class library,
// so CGdiObject cannot hold them.
#pragma once

#include <windows.h>

#include <utility>

class UniqueIcon
{
public:
    UniqueIcon() = default;
    explicit UniqueIcon(HICON hIcon) : m_hIcon(hIcon) {}
    ~UniqueIcon() { Reset(); }
    UniqueIcon(UniqueIcon&& other) noexcept : m_hIcon(other.Release()) {}
    UniqueIcon& operator=(UniqueIcon&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueIcon(const UniqueIcon&) = delete;
    UniqueIcon& operator=(const UniqueIcon&) = delete;

    HICON Get() const { return m_hIcon; }
    explicit operator bool() const { return m_hIcon != nullptr; }
    HICON Release() { return std::exchange(m_hIcon, nullptr); }
    void Reset(HICON hIcon = nullptr)
    {
        if (m_hIcon && m_hIcon != hIcon)
            ::DestroyIcon(m_hIcon);
        m_hIcon = hIcon;
    }

private:
    HICON m_hIcon = nullptr;
};
