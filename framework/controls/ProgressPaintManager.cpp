#include "framework/controls/ProgressPaintManager.h"

COSMProgressPaintManager::COSMProgressPaintManager(COSMPaintManager* pOwner) : m_pOwner(pOwner) {}

COSMProgressPaintManager::~COSMProgressPaintManager() = default;

void COSMProgressPaintManager::RefreshMetrics() {}
