// COSMMarkupKeyboardNavigation (tag "KeyboardNavigation"): the owner of the attached tab properties (IsTabStop,
// TabNavigation, TabIndex) and the object a markup context hands its keyboard and focus messages to. The properties
// are stored and read back, but no tab movement takes place yet: the handler leaves every message to the host and
// Focus moves nothing.
//
//   <Border KeyboardNavigation.TabIndex="2" KeyboardNavigation.TabNavigation="Cycle"/>
//   LRESULT handled = navigation->OnMessage(WM_KEYDOWN, VK_TAB, 0);   // 0: not handled
#pragma once

#include "framework/markup/MarkupObject.h"

class COSMMarkupContext;
class COSMMarkupInputElement;

class COSMMarkupKeyboardNavigation : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupKeyboardNavigation)

public:
    enum TabNavigation
    {
        Continue = 0,
        Once = 1,
        Cycle = 2,
        None = 3,
        Contained = 4,
        Local = 5,
    };

    // context: the markup context that made it (not counted), or null.
    explicit COSMMarkupKeyboardNavigation(COSMMarkupContext* context = nullptr) : m_pContext(context) {}

protected:
    // Releases the two elements it holds.
    ~COSMMarkupKeyboardNavigation() override;

public:
    // ---- Override these (after the object's operations) -----------------------------------------------------
    // WM_KEYDOWN, WM_SETFOCUS and WM_KILLFOCUS of the host window: 0, not handled, for every message.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // An element asks for the keyboard focus: nothing moves.
    virtual void Focus(COSMMarkupInputElement* element);

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    COSMMarkupContext* GetMarkupContext() const { return m_pContext; }
    // The element with the focus and the one that had it last: null until focus moves.
    COSMMarkupObject* GetFocusedElement() const { return m_pFocusedElement; }
    COSMMarkupObject* GetLastFocusedElement() const { return m_pLastFocusedElement; }

    // The attached values of element: IsTabStop (true when unset), TabNavigation (-1 when unset), TabIndex
    // (2147483647 when unset).
    static BOOL GetIsTabStop(const COSMMarkupObject* element);
    static int GetTabNavigation(const COSMMarkupObject* element);
    static int GetTabIndex(const COSMMarkupObject* element);

    // IsTabStop, TabNavigation, TabIndex: attached, without flags.
    static COSMMarkupDependencyProperty* s_pIsTabStopProperty;
    static COSMMarkupDependencyProperty* s_pTabNavigationProperty;
    static COSMMarkupDependencyProperty* s_pTabIndexProperty;
    static void RegisterMarkupProperties();

private:
    COSMMarkupContext* m_pContext;
    COSMMarkupObject* m_pFocusedElement = nullptr;
    COSMMarkupObject* m_pLastFocusedElement = nullptr;
};
