// Entry points of the picture generator, one per group of pictures.
#pragma once

#include <QString>

// Start screen, MDI backdrop and the two program-icon globes.
bool drawEarthPictures(const QString &outDir);
// The 40 menu and tool-button icons (icons/icon00.png ... icon39.png).
bool drawIcons(const QString &outDir);
// Speed-button glyph strips (glyphs/<name>.png).
bool drawGlyphs(const QString &outDir);
// Pictures of the About box and of the notice (hour-glass, information icon).
bool drawDialogPictures(const QString &outDir);
