#include "classlib/DocTemplate.h"

#include "classlib/WinApp.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource) : m_nIDResource(nIDResource)
{
    LPCSTR name = MAKEINTRESOURCEA(nIDResource);
    m_hMenuShared = ::LoadMenuA(AfxFindResourceHandle(name, RT_MENU), name);
    m_strDocStrings.LoadString(nIDResource);
}

CDocTemplate::~CDocTemplate()
{
    if (m_hMenuShared)
        ::DestroyMenu(m_hMenuShared);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const
{
    rString.Empty();
    if (m_strDocStrings.IsEmpty())
        return FALSE;
    int start = 0;
    for (int part = 0; part < index; ++part)
    {
        start = m_strDocStrings.Find('\n', start);
        if (start < 0)
            return FALSE;
        ++start;
    }
    const int end = m_strDocStrings.Find('\n', start);
    rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return TRUE;
}
