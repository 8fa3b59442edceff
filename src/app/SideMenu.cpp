#include "app/SideMenu.h"

namespace pikora {

void BuildMenu() {}

void DrawMenuBackground() {}

void DrawTitleBanner(const Texture& Banner) {}

void DrawMenuItem(MenuItem& Item, const Texture& ButtonTexture, const std::string& FontName) {}

void SideMenuPass() {}

}  // namespace pikora
