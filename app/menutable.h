#pragma once
// The main menu: every item with its parent, its MenuTexts row, its icon in ImageList2, and
// for a simulation its WindowClosed slot and the window it opens.
#include "simwindow.h"

struct MenuItemDef {
    const char *name;   // "A1", "D1", ...
    const char *parent; // "" for the menu bar
    int row;            // MenuTexts row of the caption
    int icon;           // ImageList2 index, or -1
    int slot;           // WindowClosed slot of a simulation, or 0
    bool separatorAfter;
    const char *help;   // a simulation's help page and anchor, after the help folder prefix
};

extern const MenuItemDef MenuTable[];
extern const int MenuTableSize;

// The simulation items (slot > 0), in menu order.
QList<const MenuItemDef *> SimulationItems();
const MenuItemDef *FindMenuItem(const QString &name);
// The window a simulation item opens (nullptr while that window is not part of the program).
SimFactory FactoryOf(const MenuItemDef &item);
