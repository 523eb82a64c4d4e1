// COSMMarkupDockPanel (tag "DockPanel"): children docked in order to the sides of what the earlier ones left, by
// their attached Dock; with LastChildFill (the default) the last slot fills what remains, whatever its Dock. A child
// docked left or right keeps the full remaining height, one docked top or bottom the full remaining width.
//
//   <DockPanel><Border DockPanel.Dock="Top" Height="20"/><Border/></DockPanel>
//
// Changing a child's Dock re-measures the dock panel it sits in. Sums saturate at 2147483647.
#pragma once

#include "classlib/Geometry.h"
#include "framework/markup/MarkupPanel.h"

class COSMMarkupDockPanel : public COSMMarkupPanel
{
    DECLARE_MARKUP_TYPE(COSMMarkupDockPanel)

public:
    enum Dock
    {
        DockLeft = 0,
        DockTop = 1,
        DockRight = 2,
        DockBottom = 3,
    };

    COSMMarkupDockPanel() = default;

protected:
    ~COSMMarkupDockPanel() override;

public:
    // ---- Overrides -------------------------------------------------------------------------------------------
    // Each child gets the room the earlier ones left; LastChildFill plays no part.
    CSize MeasureOverride(COSMMarkupDrawingContext* dc, int availableWidth, int availableHeight) override;
    CSize ArrangeOverride(int width, int height) override;

    // ---- Not meant to be overridden --------------------------------------------------------------------------
    // The LastChildFill value, true when unset.
    BOOL GetLastChildFill() const;
    // The child's Dock, Left when unset.
    static Dock GetDock(const COSMMarkupObject* child);

    // LastChildFill (re-arranges), Dock (attached; re-measures the child's dock panel).
    static COSMMarkupDependencyProperty* s_pLastChildFillProperty;
    static COSMMarkupDependencyProperty* s_pDockProperty;
    static void RegisterMarkupProperties();

private:
    static void OnDockChanged(COSMMarkupObject* object, const COSMMarkupPropertyChange* change);
};
