// Text that ends exactly where the readable memory ends: the page after it may not be touched, so a reader that
// reads one byte past the end it was given faults at once instead of reading whatever lies there.
//
//   const GuardedText text("<Page/>");
//   reader.SetInput(text.Begin(), text.End());
#pragma once

#include <cstddef>
#include <string>

namespace markup_test {

class GuardedText
{
public:
    // size bytes of data, copied to the end of a readable range followed by a page that may not be touched.
    GuardedText(const void* data, size_t size);
    explicit GuardedText(const std::string& bytes) : GuardedText(bytes.data(), bytes.size()) {}
    ~GuardedText();
    GuardedText(const GuardedText&) = delete;
    GuardedText& operator=(const GuardedText&) = delete;

    const char* Begin() const { return m_pBegin; }
    const char* End() const { return m_pBegin + m_nSize; }
    size_t Size() const { return m_nSize; }

private:
    char* m_pBase = nullptr;
    size_t m_nMapped = 0;
    char* m_pBegin = nullptr;
    size_t m_nSize = 0;
};

}  // namespace markup_test
