// COSMTabManagerItem: one tab of a tab strip (COSMTabManager). The item keeps its caption, tooltip, colour, data,
// rectangle and its own navigation buttons (at most a close button), and asks its owning strip for everything a
// subclass of the strip may answer differently (caption, colour, selection, removal, layout):
//
//   COSMTabManagerItem* pItem = strip.InsertItem(-1);   // the strip holds one reference
//   pItem->SetCaption("Document 1");
//   pItem->Select();
//
// Items are reference counted through CCmdTarget: a strip releases its reference when it removes the item, so code
// that must keep an item across a message loop takes a reference of its own (RetainRef).
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "classlib/CString.h"
#include "classlib/CmdTarget.h"
#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "classlib/RefPtr.h"
#include "framework/tabs/TabManagerNavigateButton.h"

class COSMTabManager;
class COSMImageManagerIcon;
class COSMMarkupUIElement;

class COSMTabManagerItem : public CCmdTarget
{
    DECLARE_DYNCREATE(COSMTabManagerItem)

public:
    COSMTabManagerItem();
    ~COSMTabManagerItem() override;

    // Override these.
    virtual void SetVisible(BOOL bVisible);
    // Called by the strip before it releases a removed item: the item's own buttons go.
    virtual void OnRemoved();

    // Not meant to be overridden.
    CString GetCaption() const;
    COLORREF GetColor();
    void Select();
    void Remove();
    void RequestLayout();

    // Stores the caption; while the owning strip has a markup context the caption is parsed into the item's
    // markup element (a caption that does not parse stays plain text).
    void SetCaption(LPCSTR lpszCaption);
    const CString& GetCaptionText() const { return m_strCaption; }
    void SetTooltip(LPCSTR lpszTooltip) { m_strToolTip = lpszTooltip; }
    const CString& GetTooltipText() const { return m_strToolTip; }

    // The rectangle the layout gives the item; the item's buttons lose theirs (the paint manager places them
    // again when it draws the item).
    void SetRect(int left, int top, int right, int bottom);
    void SetRect(const CRect& rc) { SetRect(rc.left, rc.top, rc.right, rc.bottom); }
    CRect GetRect() const { return m_rcItem; }

    BOOL IsEnabled() const { return m_bEnabled; }
    void SetEnabled(BOOL bEnabled) { m_bEnabled = bEnabled; }
    BOOL IsVisible() const { return m_bVisible; }
    HWND GetHandle() const { return m_hWnd; }
    void SetHandle(HWND hWnd) { m_hWnd = hWnd; }
    int GetIndex() const { return m_nIndex; }
    DWORD_PTR GetData() const { return m_dwData; }
    void SetData(DWORD_PTR dwData) { m_dwData = dwData; }
    int GetImageIndex() const { return m_nImage; }
    void SetImageIndex(int nImage) { m_nImage = nImage; }
    COLORREF GetRawColor() const { return m_clrItem; }
    void SetColor(COLORREF clr) { m_clrItem = clr; }
    BOOL IsCloseEnabled() const { return m_bCloseEnabled; }
    void SetCloseEnabled(BOOL bEnabled) { m_bCloseEnabled = bEnabled; }
    int GetLength() const { return m_nLength; }
    int GetContentLength() const { return m_nContentLength; }
    int GetRow() const { return m_nRow; }
    COSMTabManager* GetTabManager() const { return m_pTabManager; }
    COSMMarkupUIElement* GetMarkupElement() const { return m_pMarkupElement; }
    // The item's own buttons; the item holds a reference on each until it is removed from its strip.
    const std::vector<RefPtr<COSMTabManagerNavigateButton>>& GetNavigateButtons() const { return m_arrNavigateButtons; }
    void AddNavigateButton(RefPtr<COSMTabManagerNavigateButton> button)
    {
        m_arrNavigateButtons.push_back(std::move(button));
    }

    // The icon in rc, turned a quarter clockwise on a vertical strip with rotated icons, else in the state image
    // for disabled, hot, selected or normal.
    void DrawImage(CDC* pDC, CRect rc, COSMImageManagerIcon* pImage);

    // For the library's own use (the strip and the paint manager write these).
    void SetLength(int nLength) { m_nLength = nLength; }
    void SetContentLength(int nLength) { m_nContentLength = nLength; }
    void SetIndex(int nIndex) { m_nIndex = nIndex; }
    void SetRow(int nRow) { m_nRow = nRow; }
    void SetTabManager(COSMTabManager* pTabManager) { m_pTabManager = pTabManager; }
    // Parses the caption again with the strip's markup context (none: the element goes).
    void UpdateMarkupElement();

private:
    void ReleaseNavigateButtons();
    BOOL DrawRotatedImage(CDC* pDC, const CRect& rc, COSMImageManagerIcon* pImage);

    int m_nLength = 0;
    int m_nContentLength = 0;
    int m_nImage = -1;
    int m_nIndex = -1;
    BOOL m_bEnabled = TRUE;
    BOOL m_bVisible = TRUE;
    HWND m_hWnd = nullptr;
    DWORD_PTR m_dwData = 0;
    CRect m_rcItem{0, 0, 0, 0};
    CString m_strCaption;
    CString m_strToolTip;
    COLORREF m_clrItem = 0;
    COSMTabManager* m_pTabManager = nullptr;
    int m_nRow = 0;
    BOOL m_bCloseEnabled = TRUE;
    std::vector<RefPtr<COSMTabManagerNavigateButton>> m_arrNavigateButtons;
    COSMMarkupUIElement* m_pMarkupElement = nullptr;
};
