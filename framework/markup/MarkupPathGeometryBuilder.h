// COSMMarkupPathGeometryBuilder: reads path text into figures, and builds figures for the renderers' own outlines.
//
//   COSMMarkupPathGeometryBuilder figure;
//   figure.Parse(builder, L"M 0,0 L 10,0 C 10,5 5,10 0,10 Z", -1);  // or BeginFigure, AddLine ... CloseFigure
//   COSMMarkupPathGeometry* geometry = figure.CreateGeometry();
//
// The text: an optional fill rule "F0" or "F1" first, then "M" or "m" and any of M, L, H, V, C, S and Z (upper case
// absolute, lower case relative), numbers with an optional sign and decimal point, no exponent. An error throws
// COSMMarkupBuilderException "Unexpected token encountered at position 'n'" when a builder is given, or
// CNotSupportedException without one.
#pragma once

#include "framework/markup/MarkupPathGeometry.h"

#include <vector>

class COSMMarkupPathGeometryBuilder
{
public:
    COSMMarkupPathGeometryBuilder() = default;
    COSMMarkupPathGeometryBuilder(const COSMMarkupPathGeometryBuilder&) = delete;
    COSMMarkupPathGeometryBuilder& operator=(const COSMMarkupPathGeometryBuilder&) = delete;

    void BeginFigure(float x, float y);
    void AddLine(float x, float y);
    void AddBezier(float x1, float y1, float x2, float y2, float x3, float y3);
    // A cubic whose second control point is its end point.
    void AddQuadraticAsBezier(float x1, float y1, float x2, float y2);
    // Closes the figure after the last point (nothing without points).
    void CloseFigure();
    // A new geometry with copies of the points so far (one reference for the caller).
    COSMMarkupPathGeometry* CreateGeometry() const;

    // Replaces the points with the figures of length characters of text (-1: up to the NUL).
    void Parse(COSMMarkupBuilder* builder, LPCWSTR text, int length);

    // The fill-rule digit of an "F" prefix (0 without one).
    int GetFillRule() const { return m_nFillRule; }

private:
    // Skips white space, and one comma when allowed; then a number must start.
    float ReadNumber(bool commaAllowed);
    COSMMarkupPointF ReadPoint(bool commaAllowed, bool relative);
    // Another number follows, perhaps after one comma (which is consumed).
    bool NumberFollows();
    void SkipWhiteSpace();
    bool AtNumberStart() const;
    void EnsureFigure();
    [[noreturn]] void ThrowParseError() const;

    LPCWSTR m_pszText = nullptr;
    int m_nLength = 0;
    int m_nPos = 0;
    bool m_bFigureOpen = false;
    int m_nFillRule = 0;
    std::vector<COSMMarkupPointF> m_points;
    std::vector<BYTE> m_types;
    WCHAR m_chToken = L' ';
    COSMMarkupBuilder* m_pBuilder = nullptr;
    COSMMarkupPointF m_lastControl = {0, 0};
    COSMMarkupPointF m_current = {0, 0};
    COSMMarkupPointF m_figureStart = {0, 0};
};
