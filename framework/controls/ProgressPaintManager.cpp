#include "framework/controls/ProgressPaintManager.h"

COSMProgressPaintManager::COSMProgressPaintManager(COSMPaintManager* pOwner) : COSMPartPaintManager(pOwner) {}

COSMProgressPaintManager::~COSMProgressPaintManager() = default;

void COSMProgressPaintManager::RefreshMetrics() {}
