#include "framework/markup/MarkupContext.h"

#include "framework/markup/MarkupBuilder.h"
#include "framework/markup/MarkupDelegate.h"
#include "framework/markup/MarkupHandlerMap.h"
#include "framework/markup/MarkupInputElement.h"
#include "framework/markup/MarkupLayoutMath.h"
#include "framework/markup/MarkupType.h"
#include "framework/markup/MarkupTypeRegistry.h"
#include "framework/markup/MarkupVisual.h"
#include "framework/markup/MarkupXmlReader.h"

#include <cstring>

COSMMarkupContext::COSMMarkupContext(HWND hostWindow) : m_hHostWindow(hostWindow)
{
    InitializeMarkupTypesOnce();
}

COSMMarkupContext::~COSMMarkupContext()
{
    m_pMouseOverElement = nullptr;
    m_pActiveRoot = nullptr;
    m_pHandlers.reset();
    for (auto& entry : m_delegates)
        entry.second->Release();
    m_delegates.clear();
}

void COSMMarkupContext::InvalidateVisual(COSMMarkupObject* element)
{
    if (!m_hHostWindow)
        return;
    const CRect rect = GetClientBoundingRect(element);
    ::InvalidateRect(m_hHostWindow, &rect, FALSE);
}

void COSMMarkupContext::OnDesiredSizeChanged(COSMMarkupObject* element)
{
    if (m_hHostWindow)
        ::InvalidateRect(m_hHostWindow, nullptr, FALSE);
}

LONG COSMMarkupContext::AddRef()
{
    return ::InterlockedIncrement(&m_nRefCount);
}

LONG COSMMarkupContext::Release()
{
    if (m_nRefCount == 0)
        return 0;
    const LONG count = ::InterlockedDecrement(&m_nRefCount);
    if (count == 0)
        delete this;
    return count;
}

COSMMarkupUIElement* COSMMarkupContext::Parse(LPCSTR text)
{
    m_pMouseOverElement = nullptr;
    m_pActiveRoot = nullptr;
    ReleaseMouseCapture();
    if (!text)
        return nullptr;
    COSMMarkupXmlReader reader;
    reader.SetInput(text, text + strlen(text));
    COSMMarkupBuilder builder(this);
    return builder.Parse(&reader);
}

COSMMarkupObject* COSMMarkupContext::CreateObject(const COSMMarkupType* type)
{
    COSMMarkupObject* object = type ? type->CreateInstance() : nullptr;
    if (COSMMarkupInputElement* element = MarkupDynamicCast<COSMMarkupInputElement>(object)) {
        element->SetMarkupContext(this);
        AddRef();
    }
    return object;
}

void COSMMarkupContext::OnElementDestroyed(COSMMarkupInputElement* element)
{
    if (m_pMouseOverElement == element)
        m_pMouseOverElement = nullptr;
    if (m_pActiveRoot == element)
        m_pActiveRoot = nullptr;
    if (m_pCaptureElement == element)
        ReleaseMouseCapture();
    if (element->GetMarkupContext() != this)
        return;
    element->SetMarkupContext(nullptr);
    Release();
}

void COSMMarkupContext::CaptureMouse(COSMMarkupInputElement* element)
{
    if (element == m_pCaptureElement)
        return;
    if (m_hHostWindow)
        ::SetCapture(m_hHostWindow);
    m_pCaptureElement = element;
}

void COSMMarkupContext::ReleaseMouseCapture()
{
    m_pCaptureElement = nullptr;
    // Only our own capture: another window of the thread may hold it by now.
    if (m_hHostWindow && ::GetCapture() == m_hHostWindow)
        ::ReleaseCapture();
}

CRect COSMMarkupContext::GetClientBoundingRect(COSMMarkupObject* element) const
{
    const COSMMarkupVisual* visual = MarkupDynamicCast<COSMMarkupVisual>(element);
    if (!visual)
        return CRect(0, 0, 0, 0);
    CRect rect = visual->GetBoundRect();
    for (const COSMMarkupObject* object = visual; object; object = object->GetLogicalParent()) {
        if (const COSMMarkupVisual* ancestor = MarkupDynamicCast<COSMMarkupVisual>(object))
            rect = OffsetMarkupRect(rect, ancestor->GetVisualOffset().x, ancestor->GetVisualOffset().y);
    }
    return rect;
}

void COSMMarkupContext::AddDelegate(LPCWSTR name, COSMMarkupDelegate* delegate)
{
    if (!name || !delegate) {
        if (delegate)
            delegate->Release();
        return;
    }
    COSMMarkupDelegate*& entry = m_delegates[name];
    COSMMarkupDelegate* replaced = entry;
    entry = delegate;
    if (replaced)
        replaced->Release();
}

COSMMarkupDelegate* COSMMarkupContext::FindDelegate(LPCWSTR name) const
{
    if (!name)
        return nullptr;
    const auto found = m_delegates.find(name);
    return found == m_delegates.end() ? nullptr : found->second;
}

void COSMMarkupContext::AddHandler(COSMMarkupRoutedEvent* routedEvent, COSMMarkupDelegate* delegate)
{
    if (!m_pHandlers)
        m_pHandlers = std::make_unique<COSMMarkupHandlerMap>();
    m_pHandlers->AddHandler(routedEvent, delegate);
}

void COSMMarkupContext::RaiseContextHandlers(COSMMarkupInputElement* element, COSMMarkupRoutedEventArgs* args)
{
    if (m_pHandlers)
        m_pHandlers->InvokeHandlers(element, args);
}
