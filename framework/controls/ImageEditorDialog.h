// Stand-in: the button-image editor grows here; until it does, the editor opens no window and answers Cancel,
// unless a test has answered for the user.
#pragma once

#include "classlib/Geometry.h"
#include "framework/foundation/ImageManagerIconHandle.h"

class CWnd;

class COSMImageEditorDialog
{
public:
    // registerSafeWindow: the editor's window joins the mouse manager's safe windows while it is open.
    COSMImageEditorDialog(CWnd* parent, BOOL registerSafeWindow) : m_parent(parent), m_register(registerSafeWindow) {}

    // The size of an empty picture, for a control without an image.
    void SetSize(int cx, int cy) { m_size = CSize(cx, cy); }
    // The image to edit.
    void SetIcon(const COSMImageManagerIconHandle& image) { m_image = image; }
    // The edited image, after IDOK; nothing when the picture is empty.
    void GetIcon(COSMImageManagerIconHandle* result)
    {
        if (result && !s_testImage.IsEmpty())
            *result = s_testImage;
    }
    INT_PTR DoModal() { return s_testAnswer; }

    // Tests answer for the user: DoModal gives answer, and GetIcon the image (empty: nothing).
    static void SetTestAnswer(INT_PTR answer, const COSMImageManagerIconHandle& image)
    {
        s_testAnswer = answer;
        s_testImage = image;
    }
    static void ResetTestAnswer() { SetTestAnswer(IDCANCEL, COSMImageManagerIconHandle()); }

    CSize GetSize() const { return m_size; }
    const COSMImageManagerIconHandle& GetEditedImage() const { return m_image; }

private:
    CWnd* m_parent;
    BOOL m_register;
    CSize m_size = CSize(16, 16);
    COSMImageManagerIconHandle m_image;
    static inline INT_PTR s_testAnswer = IDCANCEL;
    static inline COSMImageManagerIconHandle s_testImage;
};
