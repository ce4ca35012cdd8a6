#pragma once
// The identity the desktop groups the client's windows by, one per product.

#include <string>

// "Velmora.<userClientAbout>.1"; a missing name leaves nothing between the dots.
std::wstring AppUserModelId(const std::wstring& userClientAbout);
