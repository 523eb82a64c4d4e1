// The rows and columns of a grid: COSMMarkupDefinitionBase (tag "DefinitionBase") with the layout state the grid
// works out for one row or column, and COSMMarkupColumnDefinition (tag "ColumnDefinition": Width, MinWidth,
// MaxWidth) and COSMMarkupRowDefinition (tag "RowDefinition": Height, MinHeight, MaxHeight).
//
//   <Grid.ColumnDefinitions><ColumnDefinition Width="Auto"/><ColumnDefinition Width="2*" MinWidth="40"/>
//   </Grid.ColumnDefinitions>
//
// The properties carry no flags: a change takes effect when the grid next measures.
#pragma once

#include "framework/markup/MarkupGridLength.h"

// What the grid's passes keep for one definition.
struct COSMMarkupDefinitionLayout
{
    enum SizeType : UINT
    {
        PixelSize = 1,
        AutoSize = 2,
        StarSize = 4,
    };

    // Reset at each measure; only ever raised during one.
    int minSize = 0;
    // One SizeType: how the measure pass treats the definition (a star is treated as Auto in unbounded room).
    UINT sizeType = 0;
    // The size cells are measured with; during star resolution first the star value.
    double measureSize = 0.0;
    // Scratch of the distribution and star steps; after arrange the final size.
    double sizeCache = 0.0;
    // Where the definition starts after arrange.
    int finalOffset = 0;
};

class COSMMarkupDefinitionBase : public COSMMarkupObject
{
    DECLARE_MARKUP_TYPE(COSMMarkupDefinitionBase)

public:
    COSMMarkupDefinitionBase() = default;

protected:
    explicit COSMMarkupDefinitionBase(BOOL isColumn) : m_bIsColumn(isColumn) {}
    ~COSMMarkupDefinitionBase() override;

public:
    // ---- Not meant to be overridden --------------------------------------------------------------------------
    BOOL IsColumn() const { return m_bIsColumn; }
    // Width or Height; the default (1 star) when unset or, for a bare definition base, always.
    COSMMarkupGridLength::Unit GetUserSizeUnit() const;
    // Its value as the layout reads it (never negative).
    double GetUserSizeValue() const;
    // MinWidth or MinHeight, 0 when unset; MaxWidth or MaxHeight, 2147483647 when unset.
    int GetUserMinSize() const;
    int GetUserMaxSize() const;
    BOOL HasUserMaxSize() const;

    // The minimum size of the last measure, and the size and offset of the last arrange.
    int GetMinimumSize() const { return m_layout.minSize; }
    int GetFinalSize() const;
    int GetFinalOffset() const { return m_layout.finalOffset; }

    // ---- For the grid's own use ------------------------------------------------------------------------------
    COSMMarkupDefinitionLayout& GetLayout() { return m_layout; }
    // The minimum size of an Auto definition, else the larger of the minimum and the measure size.
    double GetPreferredSize() const;

private:
    enum KindProperty
    {
        UserSize,
        UserMinimum,
        UserMaximum,
    };
    // The user size, minimum or maximum property of this definition's kind, or null for a bare base; its value.
    COSMMarkupDependencyProperty* GetKindProperty(KindProperty which) const;
    const COSMMarkupObject* GetKindValue(KindProperty which) const;

    BOOL m_bIsColumn = FALSE;
    COSMMarkupDefinitionLayout m_layout;
};

class COSMMarkupColumnDefinition : public COSMMarkupDefinitionBase
{
    DECLARE_MARKUP_TYPE(COSMMarkupColumnDefinition)

public:
    COSMMarkupColumnDefinition() : COSMMarkupDefinitionBase(TRUE) {}

protected:
    ~COSMMarkupColumnDefinition() override;

public:
    // Width (a grid length, 1 star by default), MinWidth, MaxWidth (integers).
    static COSMMarkupDependencyProperty* s_pWidthProperty;
    static COSMMarkupDependencyProperty* s_pMinWidthProperty;
    static COSMMarkupDependencyProperty* s_pMaxWidthProperty;
    static void RegisterMarkupProperties();
};

class COSMMarkupRowDefinition : public COSMMarkupDefinitionBase
{
    DECLARE_MARKUP_TYPE(COSMMarkupRowDefinition)

public:
    COSMMarkupRowDefinition() : COSMMarkupDefinitionBase(FALSE) {}

protected:
    ~COSMMarkupRowDefinition() override;

public:
    // Height (a grid length, 1 star by default), MinHeight, MaxHeight (integers).
    static COSMMarkupDependencyProperty* s_pHeightProperty;
    static COSMMarkupDependencyProperty* s_pMinHeightProperty;
    static COSMMarkupDependencyProperty* s_pMaxHeightProperty;
    static void RegisterMarkupProperties();
};
