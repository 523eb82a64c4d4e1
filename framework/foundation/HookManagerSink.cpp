#include "framework/foundation/HookManagerSink.h"

COSMHookManagerSink::~COSMHookManagerSink() = default;
