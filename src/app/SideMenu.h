#pragma once
// The menu backdrop of screens 1 to 5, their title banner and the side menu.
#include <cstdint>
#include <string>

#include "app/modDeclares.h"

namespace pikora {

void BuildMenu();
void DrawMenuBackground();
void DrawTitleBanner(const Texture& Banner);
void DrawMenuItem(MenuItem& Item, const Texture& ButtonTexture, const std::string& FontName);
void SideMenuPass();

}  // namespace pikora
