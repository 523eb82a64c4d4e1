#include "framework/foundation/ResourceModuleScope.h"

#include "classlib/ClassLibBase.h"
#include "framework/foundation/ResourceManager.h"

COSMResourceModuleScope::COSMResourceModuleScope()
{
    HINSTANCE hModule = COSMResourceManager::GetResourceHandle();
    if (!hModule)
        return;
    m_hSavedResource = AfxGetResourceHandle();
    AfxSetResourceHandle(hModule);
    m_bActive = TRUE;
}

COSMResourceModuleScope::~COSMResourceModuleScope()
{
    if (m_bActive)
        AfxSetResourceHandle(m_hSavedResource);
}
