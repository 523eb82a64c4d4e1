// The machine's load average as the host states it, printed beside a benchmark's table so a reader sees how quiet
// the machine was (under Wine the Linux file is reachable through the Z: drive).
#pragma once

#include <cstdio>
#include <string>

// The 1, 5 and 15 minute averages, or "unknown" where there is no such file.
inline std::string ReadLoadAverage()
{
    std::string text = "unknown";
    if (FILE* file = std::fopen("Z:\\proc\\loadavg", "r"))
    {
        char line[128] = {};
        if (std::fgets(line, sizeof(line), file))
        {
            text = line;
            size_t fields = 0, end = 0;
            while (end < text.size() && fields < 3)
            {
                if (text[end] == ' ')
                    ++fields;
                if (fields < 3)
                    ++end;
            }
            text.resize(end);
        }
        std::fclose(file);
    }
    return text;
}
