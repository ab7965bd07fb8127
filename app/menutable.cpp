#include "menutable.h"

#include "sims/earthquakes/primarie.h"

const MenuItemDef MenuTable[] = {
    {"A", "", 1, -1, 0, nullptr, false},
    {"A1", "A", 2, -1, 0, nullptr, true},
    {"A2", "A", 3, -1, 0, nullptr, false},
    {"A21", "A2", 4, 39, 0, nullptr, false},
    {"A22", "A2", 5, 17, 0, nullptr, false},
    {"A23", "A2", 6, 38, 0, nullptr, false},
    {"A26", "A2", 54, -1, 0, nullptr, false},
    {"A3", "A", 7, -1, 0, nullptr, false},
    {"A5", "A", 53, -1, 0, nullptr, true},
    {"A51", "A5", 4, -1, 0, nullptr, false},
    {"A52", "A5", 5, -1, 0, nullptr, false},
    {"A53", "A5", 6, -1, 0, nullptr, false},
    {"A57", "A5", 54, -1, 0, nullptr, false},
    {"A4", "A", 8, -1, 0, nullptr, false},

    {"D", "", 16, -1, 0, nullptr, false},
    {"D1", "D", 17, 12, 19, CreateOndep, false},
    {"D2", "D", 18, 12, 21, nullptr, false},
    {"D3", "D", 19, 12, 11, nullptr, false},
    {"D4", "D", 20, 12, 20, nullptr, true},
    {"D5", "D", 21, -1, 15, nullptr, true},
    {"D6", "D", 22, -1, 6, nullptr, false},

    {"E", "", 23, -1, 0, nullptr, false},
    {"E1", "E", 24, 14, 3, nullptr, false},
    {"E2", "E", 25, 26, 8, nullptr, false},
    {"E3", "E", 26, 13, 9, nullptr, true},
    {"E4", "E", 27, -1, 10, nullptr, false},
    {"E5", "E", 28, 32, 16, nullptr, true},
    {"E6", "E", 29, -1, 30, nullptr, false},

    {"F", "", 30, -1, 0, nullptr, false},
    {"F1", "F", 31, -1, 14, nullptr, true},
    {"F2", "F", 32, 3, 7, nullptr, true},
    {"F3", "F", 33, -1, 13, nullptr, false},

    {"G", "", 34, -1, 0, nullptr, false},
    {"G1", "G", 35, 25, 17, nullptr, false},
    {"G2", "G", 36, 16, 23, nullptr, false},
    {"G3", "G", 37, 25, 25, nullptr, true},
    {"G4", "G", 38, -1, 24, nullptr, true},
    {"G5", "G", 39, -1, 1, nullptr, true},
    {"G6", "G", 40, -1, 27, nullptr, false},

    {"H", "", 41, -1, 0, nullptr, false},
    {"H1", "H", 42, 25, 2, nullptr, true},
    {"H2", "H", 43, -1, 4, nullptr, true},
    {"H3", "H", 44, 36, 18, nullptr, false},
    {"H4", "H", 45, 15, 26, nullptr, true},
    {"H5", "H", 46, -1, 28, nullptr, false},

    {"I", "", 47, -1, 0, nullptr, false},
    {"I1", "I", 48, -1, 12, nullptr, true},
    {"I2", "I", 49, -1, 31, nullptr, true},
    {"I3", "I", 50, 24, 0, nullptr, false},
    {"I31", "I3", 51, -1, 22, nullptr, false},
    {"I32", "I3", 52, -1, 5, nullptr, false},

    {"B", "", 9, -1, 0, nullptr, false},
    {"B1", "B", 10, 8, 0, nullptr, false},
    {"B2", "B", 11, 9, 0, nullptr, false},
    {"B3", "B", 12, -1, 0, nullptr, false},

    {"C", "", 13, -1, 0, nullptr, false},
    {"C1", "C", 14, 7, 0, nullptr, true},
    {"C2", "C", 15, -1, 0, nullptr, false},
};

const int MenuTableSize = int(sizeof(MenuTable) / sizeof(MenuTable[0]));

QList<const MenuItemDef *> SimulationItems()
{
    QList<const MenuItemDef *> items;
    for (const MenuItemDef &d : MenuTable)
        if (d.slot > 0)
            items.append(&d);
    return items;
}

const MenuItemDef *FindMenuItem(const QString &name)
{
    for (const MenuItemDef &d : MenuTable)
        if (name == QLatin1String(d.name))
            return &d;
    return nullptr;
}
