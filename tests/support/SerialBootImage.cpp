#include "SerialBootImage.h"

namespace osm::test {

std::string SerialBootImage(const std::string& marker)
{
    std::string code = "\xBA\xF8\x03";  // mov dx, 0x3F8
    for (char c : marker)
    {
        code += '\xB0';  // mov al, c
        code += c;
        code += '\xEE';  // out dx, al
    }
    code += "\xFA\xF4\xEB\xFD";  // cli; hlt; jmp back to hlt
    code.resize(2048, '\0');
    return code;
}

}  // namespace osm::test
