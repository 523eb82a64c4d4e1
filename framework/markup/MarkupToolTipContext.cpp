#include "framework/markup/MarkupToolTipContext.h"

#include "classlib/CString.h"
#include "classlib/Wnd.h"
#include "framework/markup/MarkupContext.h"
#include "framework/markup/MarkupInputElement.h"
#include "framework/markup/MarkupString.h"

COSMMarkupToolTipContext::COSMMarkupToolTipContext(COSMMarkupContext* context) : m_pContext(context)
{
    m_nStyle = kMarkupToolTipStyle;
}

INT_PTR COSMMarkupToolTipContext::OnToolHitTest(CWnd* pWnd, CPoint point, TOOLINFOA* pTI)
{
    std::vector<COSMMarkupInputElement*> route;
    COSMMarkupContext::CollectInputElements(m_pContext->GetMouseOverElement(), route);
    INT_PTR id = -1;
    for (COSMMarkupInputElement* element : route)
    {
        if (id != -1)
            break;
        // Only text: an element as tooltip is passed over for an ancestor's text.
        const COSMMarkupString* tip =
            MarkupDynamicCast<COSMMarkupString>(element->GetValue(COSMMarkupInputElement::s_pToolTipProperty));
        if (!tip)
            continue;
        id = reinterpret_cast<INT_PTR>(element);
        FillToolInfo(pTI, m_pContext->GetHostWindow(), m_pContext->GetClientBoundingRect(element),
                     static_cast<UINT_PTR>(id), CString(tip->GetText()));
    }
    for (COSMMarkupInputElement* element : route)
        element->Release();
    return id;
}
