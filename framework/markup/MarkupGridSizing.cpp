#include "framework/markup/MarkupGridSizing.h"

#include "framework/markup/MarkupDefinition.h"
#include "framework/markup/MarkupLayoutMath.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

using Layout = COSMMarkupDefinitionLayout;

// The most a definition may grow to before its share is spread in proportion: its maximum where one is set,
// else its minimum size.
double GetSizeLimit(COSMMarkupDefinitionBase* definition)
{
    const int minSize = definition->GetLayout().minSize;
    return definition->HasUserMaxSize() ? std::max(minSize, definition->GetUserMaxSize()) : minSize;
}

void RaiseMinimum(COSMMarkupDefinitionBase* definition, int size)
{
    int& minSize = definition->GetLayout().minSize;
    minSize = std::max(minSize, size);
}

// Star step 1: the star value goes to the measure size, and the size cache holds the definition's limit per star,
// the order in which stars reach their limits.
void PrepareStar(COSMMarkupDefinitionBase* definition)
{
    Layout& layout = definition->GetLayout();
    const double stars = definition->GetUserSizeValue();
    if (stars == 0.0)
    {
        layout.measureSize = 0.0;
        layout.sizeCache = 0.0;
        return;
    }
    layout.measureSize = stars;
    layout.sizeCache = GetSizeLimit(definition) / stars;
}

// Star step 2: in ascending order of the limit per star; then each size cache becomes the sum of the star values
// from that definition to the last, the stars among which what is left is shared.
void SortAndSumStars(MarkupDefinitionList* stars)
{
    std::stable_sort(stars->begin(), stars->end(), [](COSMMarkupDefinitionBase* a, COSMMarkupDefinitionBase* b) {
        return a->GetLayout().sizeCache < b->GetLayout().sizeCache;
    });
    double sum = 0.0;
    for (auto it = stars->rbegin(); it != stars->rend(); ++it)
    {
        Layout& layout = (*it)->GetLayout();
        sum += layout.measureSize;
        layout.sizeCache = sum;
    }
}

// Star step 3: the definition's share of room, within its maximum and minimum.
int ResolveStar(COSMMarkupDefinitionBase* definition, double room)
{
    const Layout& layout = definition->GetLayout();
    const double stars = layout.measureSize;
    if (stars == 0.0)
        return layout.minSize;
    const int share = TruncateMarkupLength(stars / layout.sizeCache * std::max(room, 0.0));
    return std::max(std::min(share, definition->GetUserMaxSize()), layout.minSize);
}

}  // namespace

int TruncateMarkupLength(double value)
{
    if (!(value == value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

void SetupMarkupDefinitions(const MarkupDefinitionList& definitions, bool treatStarAsAuto)
{
    for (COSMMarkupDefinitionBase* definition : definitions)
    {
        Layout& layout = definition->GetLayout();
        layout.minSize = 0;
        layout.sizeType = 0;
        layout.measureSize = 0.0;
        int userMin = definition->GetUserMinSize();
        const int userMax = definition->GetUserMaxSize();
        int size = INT_MAX;
        switch (definition->GetUserSizeUnit())
        {
        case COSMMarkupGridLength::Auto:
            layout.sizeType = Layout::AutoSize;
            break;
        case COSMMarkupGridLength::Pixel:
            layout.sizeType = Layout::PixelSize;
            size = TruncateMarkupLength(definition->GetUserSizeValue());
            userMin = std::max(userMin, std::min(size, userMax));
            break;
        default:
            layout.sizeType = treatStarAsAuto ? Layout::AutoSize : Layout::StarSize;
            break;
        }
        layout.minSize = std::max(layout.minSize, userMin);
        layout.measureSize = std::max(userMin, std::min(size, userMax));
    }
}

double GetMarkupSpanMeasureSize(const MarkupDefinitionList& definitions, int first, int count)
{
    double size = 0.0;
    for (int i = first; i < first + count; ++i)
    {
        const Layout& layout = definitions[static_cast<size_t>(i)]->GetLayout();
        size += layout.sizeType == Layout::AutoSize ? layout.minSize : layout.measureSize;
    }
    return size;
}

void DistributeMarkupMinimumSize(const MarkupDefinitionList& definitions, int first, int count, double requested)
{
    if (requested == 0.0 || count < 1)
        return;
    struct Entry
    {
        COSMMarkupDefinitionBase* definition;
        double preferred;
        bool autoUnit;
    };
    std::vector<Entry> span;
    double minSum = 0.0;
    double preferredSum = 0.0;
    double maxSum = 0.0;
    double largestMax = 0.0;
    int autoCount = 0;
    for (int i = first; i < first + count; ++i)
    {
        COSMMarkupDefinitionBase* definition = definitions[static_cast<size_t>(i)];
        Layout& layout = definition->GetLayout();
        const double limit = GetSizeLimit(definition);
        layout.sizeCache = limit;
        const Entry entry{definition, definition->GetPreferredSize(),
                          definition->GetUserSizeUnit() == COSMMarkupGridLength::Auto};
        span.push_back(entry);
        minSum += layout.minSize;
        preferredSum += entry.preferred;
        maxSum += limit;
        largestMax = std::max(largestMax, limit);
        autoCount += entry.autoUnit ? 1 : 0;
    }

    if (requested <= minSum)
        return;

    if (requested <= preferredSum)
    {
        // Auto definitions stay at their minimum; the others grow toward their preferred sizes, smallest first.
        std::stable_sort(span.begin(), span.end(), [](const Entry& a, const Entry& b) {
            if (a.autoUnit != b.autoUnit)
                return a.autoUnit;
            if (a.autoUnit)
                return a.definition->GetLayout().minSize < b.definition->GetLayout().minSize;
            return a.preferred < b.preferred;
        });
        double toDistribute = requested;
        for (int i = 0; i < autoCount; ++i)
            toDistribute -= span[static_cast<size_t>(i)].definition->GetLayout().minSize;
        for (int i = autoCount; i < count; ++i)
        {
            const Entry& entry = span[static_cast<size_t>(i)];
            const double size = std::min(toDistribute / (count - i), entry.preferred);
            RaiseMinimum(entry.definition, TruncateMarkupLength(size));
            toDistribute -= size;
        }
        return;
    }

    if (requested <= maxSum)
    {
        // Beyond the preferred sizes, up to the limits: non-Auto definitions first, then Auto ones, each from the
        // smallest limit.
        std::stable_sort(span.begin(), span.end(), [](const Entry& a, const Entry& b) {
            if (a.autoUnit != b.autoUnit)
                return b.autoUnit;
            return a.definition->GetLayout().sizeCache < b.definition->GetLayout().sizeCache;
        });
        double toDistribute = requested - preferredSum;
        const int nonAutoCount = count - autoCount;
        for (int i = 0; i < count; ++i)
        {
            const Entry& entry = span[static_cast<size_t>(i)];
            const Layout& layout = entry.definition->GetLayout();
            const double base = i < nonAutoCount ? entry.preferred : layout.minSize;
            const int divisor = i < nonAutoCount ? nonAutoCount - i : count - i;
            const double size = base + toDistribute / divisor;
            RaiseMinimum(entry.definition, TruncateMarkupLength(std::min(size, layout.sizeCache)));
            toDistribute -= layout.minSize - base;
        }
        return;
    }

    // Beyond every limit: equal shares once they pass the largest limit, else each grows in proportion to how far
    // it is below it.
    const double equal = requested / count;
    const double spread = largestMax * count - maxSum;
    for (const Entry& entry : span)
    {
        const double limit = entry.definition->GetLayout().sizeCache;
        const double size =
            equal >= largestMax || spread <= 0.0 ? equal : limit + (largestMax - limit) * (requested - maxSum) / spread;
        RaiseMinimum(entry.definition, TruncateMarkupLength(size));
    }
}

void ResolveMarkupStars(const MarkupDefinitionList& definitions, double available)
{
    double taken = 0.0;
    MarkupDefinitionList stars;
    for (COSMMarkupDefinitionBase* definition : definitions)
    {
        const Layout& layout = definition->GetLayout();
        if (layout.sizeType == Layout::PixelSize)
            taken += layout.measureSize;
        else if (layout.sizeType == Layout::AutoSize)
            taken += layout.minSize;
        else if (layout.sizeType == Layout::StarSize)
            stars.push_back(definition);
    }
    for (COSMMarkupDefinitionBase* definition : stars)
        PrepareStar(definition);
    SortAndSumStars(&stars);
    for (COSMMarkupDefinitionBase* definition : stars)
    {
        const int resolved = ResolveStar(definition, available - taken);
        definition->GetLayout().measureSize = resolved;
        taken += resolved;
    }
}

void ComputeMarkupFinalSizes(const MarkupDefinitionList& definitions, int finalLength)
{
    const size_t count = definitions.size();
    // Stars from the front, the others from the back; each remembers its place for ties.
    struct Entry
    {
        COSMMarkupDefinitionBase* definition;
        size_t index;
    };
    std::vector<Entry> work(count);
    size_t starCount = 0;
    size_t back = count;
    double total = 0.0;
    for (size_t i = 0; i < count; ++i)
    {
        COSMMarkupDefinitionBase* definition = definitions[i];
        Layout& layout = definition->GetLayout();
        const COSMMarkupGridLength::Unit unit = definition->GetUserSizeUnit();
        if (unit == COSMMarkupGridLength::Star)
        {
            work[starCount++] = Entry{definition, i};
            PrepareStar(definition);
            continue;
        }
        work[--back] = Entry{definition, i};
        const double userSize = unit == COSMMarkupGridLength::Auto ? layout.minSize : definition->GetUserSizeValue();
        layout.sizeCache = std::max<double>(layout.minSize, std::min<double>(userSize, definition->GetUserMaxSize()));
        total += layout.sizeCache;
    }

    MarkupDefinitionList stars;
    for (size_t i = 0; i < starCount; ++i)
        stars.push_back(work[i].definition);
    SortAndSumStars(&stars);
    for (COSMMarkupDefinitionBase* definition : stars)
    {
        const int resolved = ResolveStar(definition, finalLength - total);
        definition->GetLayout().sizeCache = resolved;
        total += resolved;
    }

    if (total > finalLength)
    {
        // Too long: every definition gives back what it has above its minimum, stars with the least to give first.
        std::stable_sort(work.begin(), work.begin() + static_cast<std::ptrdiff_t>(starCount),
                         [](const Entry& a, const Entry& b) {
                             const Layout& x = a.definition->GetLayout();
                             const Layout& y = b.definition->GetLayout();
                             const double spareA = x.sizeCache - x.minSize;
                             const double spareB = y.sizeCache - y.minSize;
                             return spareA != spareB ? spareA < spareB : a.index < b.index;
                         });
        double toDistribute = finalLength - total;
        for (size_t i = 0; i < count; ++i)
        {
            Layout& layout = work[i].definition->GetLayout();
            double size =
                std::max<double>(layout.sizeCache + toDistribute / static_cast<double>(count - i), layout.minSize);
            size = std::min(size, layout.sizeCache);
            toDistribute -= size - layout.sizeCache;
            layout.sizeCache = size;
        }
    }

    int offset = 0;
    for (COSMMarkupDefinitionBase* definition : definitions)
    {
        Layout& layout = definition->GetLayout();
        layout.finalOffset = offset;
        offset = AddMarkupLengths(offset, TruncateMarkupLength(layout.sizeCache));
    }
}
