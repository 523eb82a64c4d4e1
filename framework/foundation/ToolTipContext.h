// COSMToolTipContext: the tooltip settings of one tooltip site (a window that shows tips for parts of itself) and
// the one tooltip window of that site. Every command bar of a command-bars manager shares the manager's context;
// the site passes each of its messages to FilterToolTipMessage and answers hit tests by filling a TOOLINFO:
//
//   INT_PTR CMyBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
//   {
//       const CItem* item = HitTest(point);
//       if (!item)
//           return -1;
//       COSMToolTipContext::FillToolInfoEx(pTI, m_hWnd, item->rect, item->id, item->tip, item->tip,
//                                          item->description, GetImageManager());
//       return item->id;
//   }
//
// Tool ids are pointer-sized: a markup element's address serves as its tool id.
//
// In this form the context keeps its style settings only: it makes no tooltip window yet (CreateToolTip gives
// null), and filtering and relaying messages do nothing.
#pragma once

#include "classlib/Geometry.h"
#include "classlib/Wnd.h"
#include "framework/foundation/ToolTipExtInfo.h"

#include <memory>

class COSMImageManager;

class COSMToolTipContext : public CCmdTarget
{
public:
    // Bits of the tooltip style word.
    static constexpr DWORD kStyleFrameBorder = 0x1000;   // face-coloured top-left border
    static constexpr DWORD kStyleNoDropShadow = 0x2000;  // window class without CS_DROPSHADOW
    static constexpr DWORD kStyleOffice2007 = 0x4000;    // gradient look with cut corners
    // The first common-controls version with balloon tips and titles (major << 16 | minor).
    static constexpr DWORD kBalloonComCtlVersion = 0x50050;

    COSMToolTipContext();
    // Destroys and deletes the tooltip window.
    ~COSMToolTipContext() override;

    // Override these.
    // A new, not yet created, tooltip window object for the current style; the caller creates its window.
    virtual CWnd* CreateToolTip(CWnd* pOwner);
    // The id of the tool at point of pWnd (client coordinates), pTI filled for it; -1 when no tool lies there.
    virtual INT_PTR OnToolHitTest(CWnd* pWnd, CPoint point, TOOLINFOA* pTI);
    // Every message of a site window, before the site handles it: the context picks what shows, moves or hides the
    // tip (does nothing in this form).
    virtual void FilterToolTipMessage(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Not meant to be overridden.
    // The tooltip style number (0 common controls, 1 balloon, 2 and 5 the framework's window ...). Nothing changes
    // for the current style, nor for 1 when balloons are not supported; otherwise the tooltip window goes and
    // style-word bits 0x3000 (style 2) and 0x4000 (style 5) follow the style.
    void SetStyle(int nStyle);
    int GetStyle() const { return m_nStyle; }
    // style word = (style word without dwRemove) | dwAdd; a changed word drops the tooltip window, so the next one
    // is made with it.
    void ModifyToolTipStyle(DWORD dwRemove, DWORD dwAdd);
    DWORD GetToolTipStyle() const { return m_dwToolTipStyle; }
    BOOL IsBalloonStyleSupported() const;
    DWORD GetComCtlVersion() const { return m_dwComCtlVersion; }
    void SetComCtlVersion(DWORD dwVersion) { m_dwComCtlVersion = dwVersion; }

    // Passes a mouse message on to the tooltip window (does nothing in this form).
    void RelayToolTipMessage(CWnd* pToolTip, MSG* pMsg);
    // Hides the tip: TTM_ACTIVATE(FALSE) to the tooltip window, when there is one.
    void DeactivateToolTip();

    // For hit tests. Only when pTI is not null and holds at least a TTTOOLINFOA_V1_SIZE record: sets hwnd, rect,
    // uId and lpszText, a heap copy (malloc) of strTip that FreeToolInfoText releases.
    static void FillToolInfo(TOOLINFOA* pTI, HWND hWnd, CRect rect, UINT_PTR nId, const CString& strTip);
    // FillToolInfo; then, for a TTTOOLINFOA_V2_SIZE record whose lParam points to a COSMToolTipExtInfo, heap copies
    // of the title and description when both are non-empty, and the image manager always.
    static void FillToolInfoEx(TOOLINFOA* pTI, HWND hWnd, CRect rect, UINT_PTR nId, const CString& strTip,
                               const CString& strTitle, const CString& strDescription, COSMImageManager* pImageManager);
    // Frees the text FillToolInfo put in, unless it is LPSTR_TEXTCALLBACK or a resource id (hinst set).
    static void FreeToolInfoText(TOOLINFOA* pTI);

protected:
    // Destroys and deletes the tooltip window, when there is one.
    void DestroyToolTip();

    int m_nStyle = 0;
    DWORD m_dwComCtlVersion;
    DWORD m_dwToolTipStyle = TTS_NOPREFIX;
    std::unique_ptr<CWnd> m_pToolTip;
};
