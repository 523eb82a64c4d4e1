#include "framework/controls/SliderPaintManager.h"

COSMSliderPaintManager::COSMSliderPaintManager(COSMPaintManager* pOwner) : m_pOwner(pOwner) {}

COSMSliderPaintManager::~COSMSliderPaintManager() = default;

void COSMSliderPaintManager::RefreshMetrics() {}
