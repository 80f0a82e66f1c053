#pragma once
// The interface's texts ask for "微软雅黑" (Microsoft YaHei). Where that font
// is missing (Linux), fonts that cover both languages stand in: Noto Sans for
// Latin text and Noto Sans CJK SC for Chinese.

void installFontFallbacks();
