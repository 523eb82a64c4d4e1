// COSMProgressPaintManager: the painter of progress bars (COSMProgressBase): the visual style's bar and chunks, or a
// sunken bar with a solid fill in the Default and Office looks and wherever visual styles are off. It belongs to a
// paint manager, which makes it in its constructor, refreshes it from its own RefreshMetrics and deletes it in its
// destructor; themes put subclasses of their own in its place (COSMPaintManager::SetPartPaintManagers).
//
//   COSMProgressPaintManager* painter = progress->GetProgressPaintManager();
//   if (painter)
//       painter->DrawProgress(dc, progress);
//
// The fill never leaves the bar: a position outside the range or equal bounds (which a stored bar may carry) fill
// at most the inside of the bar, and nothing for equal bounds.
#pragma once

#include "classlib/DC.h"
#include "classlib/Geometry.h"
#include "framework/commandbars/PartPaintManager.h"
#include "framework/foundation/VisualStyleWrapper.h"

#include <vector>

class COSMProgressBase;

class COSMProgressPaintManager : public COSMPartPaintManager
{
public:
    // The visual-style parts and properties the themed bar uses.
    static constexpr int kPartBar = 1;
    static constexpr int kPartChunk = 3;
    static constexpr int kPropChunkSize = 2411;  // TMT_PROGRESSCHUNKSIZE
    static constexpr int kPropSpaceSize = 2412;  // TMT_PROGRESSSPACESIZE

    // Through the process-wide visual-style functions.
    explicit COSMProgressPaintManager(COSMPaintManager* pOwner);
    // Through a table of the caller's, which must outlive the painter.
    COSMProgressPaintManager(COSMPaintManager* pOwner, COSMVisualStyleFunctions& styleFunctions);
    // Closes the visual-style data.
    ~COSMProgressPaintManager() override;

    // ---- Override these ----------------------------------------------------------------------------------------
    virtual void DrawProgress(CDC* dc, const COSMProgressBase* progress);
    // Opens the "PROGRESS" visual-style data for no particular window.
    void RefreshMetrics() override;

    // ---- Not meant to be overridden ----------------------------------------------------------------------------
    // A bar's height where its control sets none.
    int GetBarHeight() const { return m_barHeight; }
    COSMVisualStyleWrapper& GetVisualStyle() { return m_visualStyle; }
    // Whether the owner's look and the visual styles draw this bar themed: neither the Default nor the Office look,
    // the "PROGRESS" data open and visual styles active.
    BOOL IsThemed();

    // The filled width inside a bar width wide: 0 for equal bounds, never below 0 or beyond the width.
    static int CalcFillWidth(int width, int pos, int lower, int upper);
    // The chunks of a themed bar whose inside is inner and whose fill is fill pixels wide: from inner's left edge,
    // chunk pixels each, spacing apart, as many as cover the fill, none reaching inner's right edge.
    static std::vector<CRect> CalcChunkRects(const CRect& inner, int fill, int chunk, int spacing);

protected:
    COSMVisualStyleWrapper m_visualStyle;
    int m_barHeight = 16;
};
