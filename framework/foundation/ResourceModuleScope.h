// Makes the framework's resource module the class library's resource module for a scope, so that code which
// loads through the class library (a toolbar reading its resource, a dialog its template) finds the framework's
// resources. Without a framework module it changes nothing.
//
//   {
//       COSMResourceModuleScope scope;
//       bar.LoadToolBar(IDR_CUSTOMIZE_BAR, TRUE);
//   }
#pragma once

#include <windows.h>

class COSMResourceModuleScope
{
public:
    COSMResourceModuleScope();
    ~COSMResourceModuleScope();

    COSMResourceModuleScope(const COSMResourceModuleScope&) = delete;
    COSMResourceModuleScope& operator=(const COSMResourceModuleScope&) = delete;

    BOOL IsActive() const { return m_bActive; }

private:
    BOOL m_bActive = FALSE;
    HINSTANCE m_hSavedResource = nullptr;
};
