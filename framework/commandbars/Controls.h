// Stand-in: the command-bars subsystem replaces this file with its own COSMControls under the same name.
#pragma once

#include "framework/commandbars/Control.h"

#include <vector>

// The controls of one bar, in order; holds a reference to each.
class COSMControls : public CCmdTarget
{
public:
    COSMControls() = default;
    ~COSMControls() override
    {
        for (COSMControl* control : m_controls)
            control->InternalRelease();
    }

    int GetCount() const { return static_cast<int>(m_controls.size()); }
    COSMControl* GetAt(int index) const { return m_controls[index]; }
    // Takes over the caller's reference.
    void Add(COSMControl* control) { m_controls.push_back(control); }

private:
    std::vector<COSMControl*> m_controls;
};
