#include "framework/controls/HookManagerSink.h"

COSMHookManagerSink::~COSMHookManagerSink() = default;
