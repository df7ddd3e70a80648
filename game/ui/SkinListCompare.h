// The comparison rule of CSkinListCtrl's sorting, by the first cell alone:
// numbers (digits, blanks, "-" and at most one "."), then dd/mm/yyyy dates,
// then text. Returns -1, 0 or 1 for the given order (ascending when nonzero).
#pragma once

int SkinListCompare(const char* a, const char* b, int ascending);
