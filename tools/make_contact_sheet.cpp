// Draws a contact sheet of the 26 interface pictures in pictures.pkr, followed by mock-ups of
// the screens that use them (laid out with the positions the screens pass when drawing).
//   make_contact_sheet [source folder] [folder for full-size screen mock-ups]
// Writes docs/contact-sheet.png under the source folder.
#include <iostream>
#include <map>

#include "PictureKit.h"

using namespace kit;

namespace {

struct Texture {
  Image Img;
  cairo_surface_t* Surface = nullptr;
};
std::map<std::string, Texture> Textures;

Image Decode(const std::string& Name, const Bytes& Data) {
  std::string Ext = Name.substr(Name.rfind('.') + 1);
  if (Ext == "jpg") return DecodeJpeg(Data);
  if (Ext == "png") return DecodePng(Data);
  if (Ext == "bmp") return DecodeKeyedBmp(Data);
  return DecodeDds(Data);
}

// The image multiplied by a tint, as the game's SetTint does.
cairo_surface_t* Tinted(const Texture& T, int R, int G, int B) {
  Image Copy = T.Img;
  for (size_t I = 0; I < Copy.Rgba.size(); I += 4) {
    Copy.Rgba[I] = static_cast<uint8_t>(Copy.Rgba[I] * R / 255);
    Copy.Rgba[I + 1] = static_cast<uint8_t>(Copy.Rgba[I + 1] * G / 255);
    Copy.Rgba[I + 2] = static_cast<uint8_t>(Copy.Rgba[I + 2] * B / 255);
  }
  return ToSurface(Copy);
}

int TintR = 255, TintG = 255, TintB = 255;

// The engine's DrawSprite: TexW × TexH texels from (SrcX, SrcY) into W × H at (X, Y), turned
// clockwise by Angle about (Cx, Cy) (−1, −1 = the centre).
void Sprite(cairo_t* Cr, const std::string& Name, double X, double Y, double TexW, double TexH, double Angle,
            double Opacity, double SrcX, double SrcY, double W, double H, double Cx = -1, double Cy = -1) {
  const Texture& T = Textures.at(Name);
  if (W == 0 && H == 0) {
    W = TexW;
    H = TexH;
  }
  if (Cx == -1 && Cy == -1) {
    Cx = W / 2;
    Cy = H / 2;
  }
  bool Tint = TintR != 255 || TintG != 255 || TintB != 255;
  cairo_surface_t* S = Tint ? Tinted(T, TintR, TintG, TintB) : T.Surface;
  cairo_save(Cr);
  cairo_translate(Cr, X + Cx, Y + Cy);
  cairo_rotate(Cr, Angle * M_PI / 180);
  cairo_translate(Cr, -Cx, -Cy);
  cairo_scale(Cr, W / TexW, H / TexH);
  cairo_rectangle(Cr, 0, 0, TexW, TexH);
  cairo_clip(Cr);
  cairo_set_source_surface(Cr, S, -SrcX, -SrcY);
  cairo_pattern_set_filter(cairo_get_source(Cr), CAIRO_FILTER_GOOD);
  cairo_paint_with_alpha(Cr, Opacity / 100);
  cairo_restore(Cr);
  if (Tint) cairo_surface_destroy(S);
}

// Glyph widths from the font picture's coverage, for a proportional layout.
double GlyphInk(int Code, int& First) {
  const Image& F = Textures.at("font_default.dds").Img;
  int Cx = (Code % 16) * 32, Cy = (Code / 16) * 32, Lo = 32, Hi = -1;
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 32; ++X)
      if (F.Rgba[((Cy + Y) * F.W + Cx + X) * 4 + 3] > 40) {
        Lo = std::min(Lo, X);
        Hi = std::max(Hi, X);
      }
  if (Hi < 0) {
    First = 0;
    return 12;
  }
  First = Lo;
  return Hi - Lo + 1;
}

// DrawBitmapText as a mock: proportional glyphs, one pixel apart, tinted by the colour.
void BitmapText(cairo_t* Cr, const std::string& Text, double X, double Y, double Scale, int R, int G, int B) {
  int SaveR = TintR, SaveG = TintG, SaveB = TintB;
  TintR = R, TintG = G, TintB = B;
  double Pen = 0;
  for (unsigned char Ch : Text) {
    int First = 0;
    double Ink = GlyphInk(Ch, First);
    Sprite(Cr, "font_default.dds", X + (Pen - First) * Scale, Y, 32, 32, 0, 100, (Ch % 16) * 32, (Ch / 16) * 32,
           32 * Scale, 32 * Scale);
    Pen += Ink + 1;
  }
  TintR = SaveR, TintG = SaveG, TintB = SaveB;
}

// DrawText as a mock: Verdana-sized DejaVu, format 5 centred or 0 top-left, lines split at \n.
void Text(cairo_t* Cr, double Points, bool Bold, double X, double Y, double W, double H, const std::string& S, int A,
          int R, int G, int B, int Format, const char* Face = "DejaVu Sans") {
  UseFont(Cr, Points * 1.33, Bold, Face);
  std::vector<std::string> Lines;
  size_t I = 0;
  while (true) {
    size_t J = S.find('\n', I);
    Lines.push_back(S.substr(I, J == std::string::npos ? std::string::npos : J - I));
    if (J == std::string::npos) break;
    I = J + 1;
  }
  cairo_font_extents_t Fe;
  cairo_font_extents(Cr, &Fe);
  double Total = Lines.size() * Fe.height;
  double Top = Format == 5 ? Y + (H - Total) / 2 : Y;
  cairo_set_source_rgba(Cr, R / 255.0, G / 255.0, B / 255.0, A / 255.0);
  for (size_t L = 0; L < Lines.size(); ++L) {
    cairo_text_extents_t E;
    cairo_text_extents(Cr, Lines[L].c_str(), &E);
    double Left = Format == 5 ? X + (W - E.x_advance) / 2 : X;
    cairo_move_to(Cr, Left, Top + L * Fe.height + Fe.ascent);
    cairo_show_text(Cr, Lines[L].c_str());
  }
}

void MenuBackdrop(cairo_t* Cr, const char* Banner) {
  Sprite(Cr, "background.jpg", 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600);
  Sprite(Cr, "sky.jpg", -100, -225, 512, 512, 37, 30, 0, 0, 1024, 1024);
  Sprite(Cr, "sidemenu.dds", 0, 0, 256, 512, 0, 50, 0, 0, 0, 0);
  if (Banner) Sprite(Cr, Banner, 240, 0, 512, 128, 0.6, 70, 0, 0, 0, 0);
}

void SideMenu(cairo_t* Cr, int Current) {
  const char* Captions[] = {"Nova Igra", "Top Lista", "Postavke", "Pomoc", "Zasluge", "Izlaz"};
  for (int I = 0; I < 6; ++I) {
    double Y = 15 + 37 * I;
    if (I == Current)
      for (auto [Dx, Dy] : std::vector<std::pair<int, int>>{{1, 1}, {1, -1}, {-1, -1}, {-1, 1}})
        Text(Cr, 10, true, 19 + Dx, Y + Dy, 120, 25, Captions[I], 255, 255, 50, 50, 5);
    Sprite(Cr, "button.bmp", 19, Y, 120, 25, 0.4, I == 1 ? 85 : 40, 0, 0, 0, 0);
    Text(Cr, 10, true, 19, Y, 120, 25, Captions[I], 255, 255, 255, 255, 5);
  }
}

void Cursor(cairo_t* Cr, double X, double Y) { Sprite(Cr, "mouse.bmp", X, Y, 32, 32, 0, 40, 0, 0, 0, 0); }

void NewGameScreen(cairo_t* Cr) {
  MenuBackdrop(Cr, "menu_newgame.dds");
  Sprite(Cr, "newgameselection.dds", 275, 90, 460, 390, 0, 70, 0, 0, 0, 0);
  Sprite(Cr, "packinfo.dds", -30, 263, 256, 256, 0, 100, 0, 0, 0, 0);
  const char* Packs[] = {"Selo", "More", "Svemir"};
  for (int I = 0; I < 3; ++I)
    Text(Cr, 10, true, 360, 175 + 20 * I, 305, 18, Packs[I], 255, I == 1 ? 100 : 255, 255, I == 1 ? 100 : 255, 5);
  const char* Cn = "Courier New";
  Text(Cr, 10, true, 35, 315, 115, 20, "Polozaj slika", 255, 50, 250, 50, 5, Cn);
  Text(Cr, 10, true, 35, 335, 115, 20, "Horizontalan", 255, 230, 255, 255, 5, Cn);
  Text(Cr, 10, true, 35, 358, 115, 20, "# nivoa", 255, 50, 250, 50, 5, Cn);
  Text(Cr, 10, true, 35, 375, 115, 20, "10", 255, 230, 255, 255, 5, Cn);
  Text(Cr, 10, true, 35, 400, 115, 20, "Najbolji rezultat", 255, 50, 250, 50, 5, Cn);
  Text(Cr, 10, true, 40, 420, 150, 35, "2150", 255, 230, 255, 255, 0, Cn);
  Text(Cr, 10, true, 80, 420, 150, 35, "   Ribica", 255, 230, 255, 255, 0, Cn);
  Text(Cr, 10, true, 314, 475, 375, 120, "More, brodovi i ribe.\nDeset nivoa za strpljive.", 255, 230, 255, 255, 5,
       Cn);
  SideMenu(Cr, 0);
  Cursor(Cr, 420, 200);
}

void HighScoreScreen(cairo_t* Cr) {
  MenuBackdrop(Cr, "menu_highscores.dds");
  Sprite(Cr, "highscorepacks.dds", 370, 90, 256, 390, 0, 90, 0, 0, 0, 0);
  Sprite(Cr, "highscores.dds", -30, 200, 256, 512, 0, 100, 0, 0, 0, 0);
  const char* Packs[] = {"Selo", "More", "Svemir"};
  for (int I = 0; I < 3; ++I)
    Text(Cr, 10, true, 405, 175 + 20 * I, 190, 18, Packs[I], 255, 255, 255, I == 0 ? 0 : 255, 5);
  for (int I = 1; I <= 10; ++I) {
    Text(Cr, 10, true, 40, 320 + 20 * I, 150, 35, std::to_string(2400 - 200 * I), 255, 230, 255, 255, 0,
         "Courier New");
    Text(Cr, 10, true, 80, 320 + 20 * I, 150, 35, "Zeko " + std::to_string(I), 255, 230, 255, 255, 0, "Courier New");
  }
  SideMenu(Cr, 1);
}

void HelpScreen(cairo_t* Cr) {
  MenuBackdrop(Cr, "menu_help.dds");
  Sprite(Cr, "help.dds", 270, 120, 512, 512, 0.5, 100, 0, 0, 0, 0);
  SideMenu(Cr, 3);
}

void NameScreen(cairo_t* Cr) {
  Sprite(Cr, "background.jpg", 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600);
  Sprite(Cr, "sky.jpg", -100, -225, 512, 512, 80, 30, 0, 0, 1024, 1024);
  Sprite(Cr, "menu_name.dds", 144, 30, 512, 128, 0, 100, 0, 0, 0, 0);
  for (auto [Dx, Dy] : std::vector<std::pair<int, int>>{{-1, 1}, {-1, -1}, {1, 1}, {1, -1}})
    Text(Cr, 20, true, Dx, 200 + Dy, 800, 50, "MARKO", 255, 205, 205, 205, 5);
  Text(Cr, 20, true, 0, 200, 800, 50, "MARKO", 255, 40, 0, 170, 5);
  TintR = 0, TintG = 0, TintB = 255;
  Sprite(Cr, "button.bmp", 340, 288, 120, 25, 0.5, 80, 0, 0, 0, 0);
  TintR = TintG = TintB = 255;
  Text(Cr, 15, true, 340, 288, 120, 25, "UNESI", 255, 255, 255, 255, 5);
}

void LoadingScreen(cairo_t* Cr) {
  Sprite(Cr, "brightlogo.jpg", 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600);
  BitmapText(Cr, "UCITAVANJE", 5, 5, 1, 255, 255, 255);
}

// The game screen in either layout; Overlay 0 none, 1 pre-level, 2 game over, 3 pack complete.
void GameScreen(cairo_t* Cr, bool Vertical, int Overlay, double TimeUsed) {
  Sprite(Cr, Vertical ? "back_game_v.jpg" : "back_game_h.jpg", 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600);
  Sprite(Cr, "sky.jpg", -100, -225, 512, 512, 200, 30, 0, 0, 1024, 1024);
  if (Vertical)
    Text(Cr, 20, true, 300, 0, 370, 55, "SELO", 255, 230, 255, 255, 5);
  else
    Text(Cr, 10, true, 20, 60, 195, 30, "MORE", 255, 230, 255, 255, 5);
  BitmapText(Cr, "1234", Vertical ? 265 : 85, 569, 1, Vertical ? 0 : 220, Vertical ? 10 : 220, Vertical ? 200 : 255);
  double Cy = Vertical ? 420 : 535;
  BitmapText(Cr, "3", Vertical ? 18 : 95, Cy, 1, 220, 220, 255);
  BitmapText(Cr, "/", Vertical ? 66 : 145, Cy, 1, 220, 220, 255);
  BitmapText(Cr, "10", Vertical ? 105 : 185, Cy, 1, 220, 220, 255);
  double Ex = Vertical ? 670 : 708, Ey = Vertical ? 565 : 579;
  TintR = 200, TintG = 50, TintB = 50;
  Sprite(Cr, "button.bmp", Ex, Ey, 120, 25, 0, 70, 0, 0, 90, 18.75);
  TintR = TintG = TintB = 255;
  Text(Cr, 8, false, Ex, Ey, 90, 18.75, "I Z L A Z", 255, 230, 255, 255, 5);
  // Joker.
  double Jx = Vertical ? 413 : 160, Jy = Vertical ? 565 : 292, Turn = Vertical ? 0 : 90;
  TintR = 100, TintG = 100, TintB = 200;
  Sprite(Cr, "button.bmp", Jx, Jy, 120, 25, 200 + Turn, 85, 0, 0, 90, 18.75);
  Sprite(Cr, "button.bmp", Jx, Jy, 120, 25, -20 + Turn, 85, 0, 0, 90, 18.75);
  TintR = 20, TintG = 20, TintB = 200;
  Sprite(Cr, "button.bmp", Jx, Jy, 120, 25, 3 + Turn, 85, 0, 0, 90, 18.75);
  TintR = TintG = TintB = 255;
  if (Vertical)
    Text(Cr, 8, false, 413, 565, 90, 18.75, "J O K E R", 232, 230, 255, 255, 5);
  else
    Text(Cr, 8, false, 195, 270, 20, 65, "J\nO\nK\nE\nR", 232, 230, 255, 255, 5);
  // Pictures (plain stand-ins) and two found differences.
  double Ox = Vertical ? 185 : 350, Oy = Vertical ? 100 : 29, Mx = Vertical ? 471 : 350, My = Vertical ? 100 : 315;
  double Pw = Vertical ? 256 : 380, Ph = Vertical ? 380 : 256;
  bool Pictures = Overlay != 1;
  for (auto [Px, Py] : std::vector<std::pair<double, double>>{{Ox, Oy}, {Mx, My}}) {
    if (!Pictures) break;
    cairo_rectangle(Cr, Px, Py, Pw, Ph);
    cairo_pattern_t* G = cairo_pattern_create_linear(Px, Py, Px, Py + Ph);
    cairo_pattern_add_color_stop_rgb(G, 0, 0.55, 0.75, 0.95);
    cairo_pattern_add_color_stop_rgb(G, 1, 0.45, 0.7, 0.35);
    cairo_set_source(Cr, G);
    cairo_fill(Cr);
    cairo_pattern_destroy(G);
    cairo_arc(Cr, Px + Pw * 0.3, Py + Ph * 0.6, 30, 0, 2 * M_PI);
    cairo_set_source_rgb(Cr, 0.9, 0.4, 0.3);
    cairo_fill(Cr);
  }
  if (Pictures) {
    for (auto [Px, Py] : std::vector<std::pair<double, double>>{{Mx, My}, {Ox, Oy}}) {
      Sprite(Cr, "clueselection.dds", Px + Pw * 0.3 - 34, Py + Ph * 0.6 - 34, 64, 64, 0, Vertical ? 70 : 100, 0, 0,
             68, 68);
      Sprite(Cr, "clueselection.dds", Px + 20, Py + 30, 64, 64, 0, Vertical ? 70 : 100, 0, 0, 20, 14);
    }
    const double MarkV[5][4] = {{170, 491, 191, 512}, {292, 491, 313, 512}, {425, 491, 446, 512}, {558, 491, 578, 512},
                                {680, 491, 701, 512}};
    const double MarkH[5][4] = {{242, 15, 264, 36}, {242, 137, 263, 158}, {242, 270, 262, 291}, {241, 403, 261, 424},
                                {241, 525, 263, 547}};
    for (int K = 0; K < 5; ++K) {
      const double* M = Vertical ? MarkV[K] : MarkH[K];
      bool Found = K < 2;
      TintR = Found ? 50 : 255, TintG = Found ? 255 : (Vertical ? 50 : 10), TintB = Found ? 50 : (Vertical ? 50 : 0);
      Sprite(Cr, "clue.dds", M[0], M[1], 64, 64, 40.0 * K, 100, 0, 0, 0, 0, 31.5, 31.5);
      TintR = TintG = TintB = 255;
      BitmapText(Cr, std::to_string(K + 1), M[2], M[3], 1, 255, 255, 255);
    }
    // Time bar.
    Sprite(Cr, "progressbar.dds", 755, 94, 49, 399, 0, 100, 0, 399 - TimeUsed, 0, 0);
    Sprite(Cr, "progressbarin.dds", 755, 94 + TimeUsed, 49, 406 - TimeUsed, 0, 100, 0, 0, 49, 406 - TimeUsed);
    Sprite(Cr, "progressroom.dds", 751, 94, 49, 406, 0, 100, 0, 0, 0, 0);
  }
  // Place ladder and picture text.
  double Ly = Vertical ? 500 : 450, C1 = Vertical ? 5 : 30, C2 = Vertical ? 35 : 60, C3 = Vertical ? 110 : 160;
  const char* Names[] = {"Ana", "Luka", Vertical ? "YOU" : "VI", "Iva", "Ivo"};
  for (int R = 0; R < 5; ++R) {
    Text(Cr, 10, true, C1, Ly + 15 * R, 150, 25, std::to_string(R + 3) + ".", 200, 255, 255, 255, 0);
    Text(Cr, 10, true, C2, Ly + 15 * R, 150, 25, Names[R], 200, 255, 255, 255, 0);
    Text(Cr, 10, true, C3, Ly + 15 * R, 150, 25, std::to_string(1500 - 100 * R), 200, 255, 255, 255, 0);
  }
  if (Vertical)
    Text(Cr, 10, true, 10, 125, 140, 200, "Seoski trg\nu podne.", 255, 230, 255, 255, 0, "Courier New");
  else
    Text(Cr, 10, true, 10, 150, 220, 200, "Luka s brodicima\ni galebovima.", 255, 230, 255, 255, 0, "Courier New");
  double MaskX = Vertical ? 68 : 310, MaskY = Vertical ? 162 : -13, MaskW = Vertical ? 800 : 600,
         MaskH = Vertical ? 600 : 800, MaskA = Vertical ? 90 : 0;
  double Bx = Vertical ? 340 : 410;
  if (Overlay == 1) {
    Sprite(Cr, "gamemask.dds", MaskX, MaskY, MaskW, MaskH, MaskA, 100, 0, 0, 0, 0);
    std::string Intro =
        "postoji 5 razlika\nizmedju originalne i modificirane slike\nna vama je da ih nadjete\n\n\nKLIKNITE 'START' AKO "
        "STE SPREMNI";
    double Tx = Vertical ? 330 : 400, Ty = Vertical ? 250 : 150;
    Text(Cr, 10, true, Tx + 2, Ty + 2, 270, 100, Intro, 255, 0, 0, 0, 5, "Courier New");
    Text(Cr, 10, true, Tx, Ty, 270, 100, Intro, 255, 255, 255, 255, 5, "Courier New");
    Text(Cr, 20, true, Bx, 420, 240, 50, "START", 255, 255, 255, 255, 5);
    Sprite(Cr, "button.bmp", Bx, 420, 120, 25, 0, 50, 0, 0, 240, 50);
  } else if (Overlay == 2 || Overlay == 3) {
    bool Over = Overlay == 2;
    TintR = Over ? 200 : 50, TintG = Over ? 50 : 200, TintB = 50;
    Sprite(Cr, "gamemask.dds", MaskX, MaskY, MaskW, MaskH, MaskA, 100, 0, 0, 0, 0);
    Text(Cr, 15, true, Bx, 420, 240, 50, "UNESI REZULTAT", 255, 255, 255, 255, 5);
    Sprite(Cr, "button.bmp", Bx, 420, 120, 25, 0, Over ? 65 : 50, 0, 0, 240, 50);
    TintR = TintG = TintB = 255;
    if (Over) {
      double Tx = Vertical ? 270 : 360, Sc = Vertical ? 2 : 1.75;
      BitmapText(Cr, "GAME OVER", Vertical ? 271 : 359, Vertical ? 201 : 199, Sc, 0, 0, 0);
      BitmapText(Cr, "GAME OVER", Vertical ? 269 : 361, Vertical ? 199 : 201, Sc, 0, 0, 0);
      BitmapText(Cr, "GAME OVER", Tx, 200, Sc, 200, 50, 50);
    } else {
      double X0 = Vertical ? 161 : 336, W = Vertical ? 590 : 410;
      const char* Lines[] = {"uspjesno ste zavrsili", "sve nivoe ovog paketa", "kliknite 'UNESI REZULTAT'",
                             "B R A V O"};
      double Ys[] = {Vertical ? 200.0 : 150.0, Vertical ? 225.0 : 175.0, Vertical ? 275.0 : 250.0,
                     Vertical ? 160.0 : 120.0};
      for (int L = 0; L < 4; ++L) {
        double Pt = L == 3 ? 20 : 15;
        for (auto [Dx, Dy] : std::vector<std::pair<int, int>>{{0, 0}, {0, 2}, {2, 0}, {2, 2}})
          Text(Cr, Pt, true, X0 + Dx, Ys[L] + Dy, W, 50, Lines[L], 255, 0, 0, 0, 5);
        Text(Cr, Pt, true, X0 + 1, Ys[L] + 1, W, 50, Lines[L], 255, 50, 200, 50, 5);
      }
    }
  }
  Cursor(Cr, 520, 330);
}

void Checker(cairo_t* Cr, double X, double Y, double W, double H) {
  cairo_save(Cr);
  cairo_rectangle(Cr, X, Y, W, H);
  cairo_clip(Cr);
  for (int Ty = 0; Ty * 8 < H; ++Ty)
    for (int Tx = 0; Tx * 8 < W; ++Tx) {
      double V = (Tx + Ty) % 2 ? 0.62 : 0.78;
      cairo_set_source_rgb(Cr, V, V, V);
      cairo_rectangle(Cr, X + Tx * 8, Y + Ty * 8, 8, 8);
      cairo_fill(Cr);
    }
  cairo_restore(Cr);
}

}  // namespace

int main(int Argc, char** Argv) {
  try {
    std::filesystem::path Root = Argc > 1 ? Argv[1] : ".";
    auto Entries = ReadZip(Root / "data" / "game data" / "pictures.pkr");
    std::vector<std::string> Order;
    for (auto& [Name, Data] : Entries) {
      Texture T;
      T.Img = Decode(Name, Data);
      T.Surface = ToSurface(T.Img);
      Textures[Name] = std::move(T);
      Order.push_back(Name);
    }
    using ScreenFn = std::function<void(cairo_t*)>;
    std::vector<std::pair<std::string, ScreenFn>> Screens = {
        {"Nova Igra", NewGameScreen},
        {"Top Lista", HighScoreScreen},
        {"Pomoc", HelpScreen},
        {"Upisi ime", NameScreen},
        {"Ucitavanje", LoadingScreen},
        {"Prije nivoa, okomito", [](cairo_t* Cr) { GameScreen(Cr, true, 1, 0); }},
        {"Igra, okomito", [](cairo_t* Cr) { GameScreen(Cr, true, 0, 150); }},
        {"Igra, vodoravno", [](cairo_t* Cr) { GameScreen(Cr, false, 0, 330); }},
        {"Prije nivoa, vodoravno", [](cairo_t* Cr) { GameScreen(Cr, false, 1, 0); }},
        {"Kraj igre, okomito", [](cairo_t* Cr) { GameScreen(Cr, true, 2, 407); }},
        {"Kraj igre, vodoravno", [](cairo_t* Cr) { GameScreen(Cr, false, 2, 407); }},
        {"Paket gotov, vodoravno", [](cairo_t* Cr) { GameScreen(Cr, false, 3, 200); }},
    };
    if (Argc > 2) {
      std::filesystem::create_directories(Argv[2]);
      for (size_t I = 0; I < Screens.size(); ++I) {
        Canvas Full(800, 600);
        Screens[I].second(Full.Cr);
        WriteFile(std::filesystem::path(Argv[2]) / ("screen" + std::to_string(I + 1) + ".png"), EncodePng(Full));
      }
    }
    // The sheet: 26 tiles of 6 columns, then the screens at 40 %, 4 per row.
    const int Cols = 6, TileW = 250, TileH = 220, ShotW = 320, ShotH = 240, ShotRow = ShotH + 30;
    int TileRows = (static_cast<int>(Order.size()) + Cols - 1) / Cols;
    int SheetW = Cols * TileW + 20;
    int ShotRows = (static_cast<int>(Screens.size()) + 3) / 4;
    int SheetH = 60 + TileRows * TileH + 40 + ShotRows * ShotRow + 20;
    Canvas Sheet(SheetW, SheetH);
    cairo_t* Cr = Sheet.Cr;
    cairo_set_source_rgb(Cr, 0.93, 0.95, 0.98);
    cairo_paint(Cr);
    UseFont(Cr, 24, true);
    cairo_set_source_rgb(Cr, 0.12, 0.21, 0.34);
    cairo_move_to(Cr, 14, 36);
    cairo_show_text(Cr, "Pikora - pictures.pkr");
    for (size_t I = 0; I < Order.size(); ++I) {
      const Texture& T = Textures[Order[I]];
      double X = 10 + (I % Cols) * TileW, Y = 60 + (I / Cols) * TileH;
      double Box = 180, S = std::min(Box / T.Img.W, Box / T.Img.H);
      double W = T.Img.W * S, H = T.Img.H * S, Ix = X + (TileW - 10 - W) / 2, Iy = Y + (Box - H) / 2;
      Checker(Cr, Ix, Iy, W, H);
      cairo_save(Cr);
      cairo_translate(Cr, Ix, Iy);
      cairo_scale(Cr, S, S);
      cairo_set_source_surface(Cr, T.Surface, 0, 0);
      cairo_pattern_set_filter(cairo_get_source(Cr), CAIRO_FILTER_GOOD);
      cairo_paint(Cr);
      cairo_restore(Cr);
      UseFont(Cr, 12, true);
      cairo_set_source_rgb(Cr, 0.12, 0.21, 0.34);
      std::string Label = std::to_string(I + 1) + ". " + Order[I] + "  " + std::to_string(T.Img.W) + "x" +
                          std::to_string(T.Img.H);
      cairo_move_to(Cr, X + 4, Y + Box + 20);
      cairo_show_text(Cr, Label.c_str());
    }
    double ShotTop = 60 + TileRows * TileH + 30;
    for (size_t I = 0; I < Screens.size(); ++I) {
      double X = 10 + (I % 4) * (ShotW + 55), Y = ShotTop + (I / 4) * ShotRow;
      Canvas Full(800, 600);
      Screens[I].second(Full.Cr);
      cairo_save(Cr);
      cairo_translate(Cr, X, Y);
      cairo_scale(Cr, ShotW / 800.0, ShotH / 600.0);
      cairo_set_source_surface(Cr, Full.Surface, 0, 0);
      cairo_pattern_set_filter(cairo_get_source(Cr), CAIRO_FILTER_GOOD);
      cairo_paint(Cr);
      cairo_restore(Cr);
      UseFont(Cr, 12, true);
      cairo_set_source_rgb(Cr, 0.12, 0.21, 0.34);
      cairo_move_to(Cr, X, Y + ShotH + 16);
      cairo_show_text(Cr, Screens[I].first.c_str());
    }
    std::filesystem::path Out = Root / "docs" / "contact-sheet.png";
    WriteFile(Out, EncodePng(Sheet));
    for (auto& [Name, T] : Textures) cairo_surface_destroy(T.Surface);
    std::cout << "wrote " << Out.string() << "\n";
    return 0;
  } catch (const std::exception& E) {
    std::cerr << "make_contact_sheet: " << E.what() << "\n";
    return 1;
  }
}
