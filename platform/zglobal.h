#pragma once

namespace ZGlobal
{
// Height in pixels of one line of the platform's standard text.
int getLineHeight();
} // namespace ZGlobal
