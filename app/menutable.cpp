#include "menutable.h"


const MenuItemDef MenuTable[] = {
    {"A", "", 1, -1, 0, false},
    {"A1", "A", 2, -1, 0, true},
    {"A2", "A", 3, -1, 0, false},
    {"A21", "A2", 4, 39, 0, false},
    {"A22", "A2", 5, 17, 0, false},
    {"A23", "A2", 6, 38, 0, false},
    {"A26", "A2", 54, -1, 0, false},
    {"A3", "A", 7, -1, 0, false},
    {"A5", "A", 53, -1, 0, true},
    {"A51", "A5", 4, -1, 0, false},
    {"A52", "A5", 5, -1, 0, false},
    {"A53", "A5", 6, -1, 0, false},
    {"A57", "A5", 54, -1, 0, false},
    {"A4", "A", 8, -1, 0, false},

    {"D", "", 16, -1, 0, false},
    {"D1", "D", 17, 12, 19, false},
    {"D2", "D", 18, 12, 21, false},
    {"D3", "D", 19, 12, 11, false},
    {"D4", "D", 20, 12, 20, true},
    {"D5", "D", 21, -1, 15, true},
    {"D6", "D", 22, -1, 6, false},

    {"E", "", 23, -1, 0, false},
    {"E1", "E", 24, 14, 3, false},
    {"E2", "E", 25, 26, 8, false},
    {"E3", "E", 26, 13, 9, true},
    {"E4", "E", 27, -1, 10, false},
    {"E5", "E", 28, 32, 16, true},
    {"E6", "E", 29, -1, 30, false},

    {"F", "", 30, -1, 0, false},
    {"F1", "F", 31, -1, 14, true},
    {"F2", "F", 32, 3, 7, true},
    {"F3", "F", 33, -1, 13, false},

    {"G", "", 34, -1, 0, false},
    {"G1", "G", 35, 25, 17, false},
    {"G2", "G", 36, 16, 23, false},
    {"G3", "G", 37, 25, 25, true},
    {"G4", "G", 38, -1, 24, true},
    {"G5", "G", 39, -1, 1, true},
    {"G6", "G", 40, -1, 27, false},

    {"H", "", 41, -1, 0, false},
    {"H1", "H", 42, 25, 2, true},
    {"H2", "H", 43, -1, 4, true},
    {"H3", "H", 44, 36, 18, false},
    {"H4", "H", 45, 15, 26, true},
    {"H5", "H", 46, -1, 28, false},

    {"I", "", 47, -1, 0, false},
    {"I1", "I", 48, -1, 12, true},
    {"I2", "I", 49, -1, 31, true},
    {"I3", "I", 50, 24, 0, false},
    {"I31", "I3", 51, -1, 22, false},
    {"I32", "I3", 52, -1, 5, false},

    {"B", "", 9, -1, 0, false},
    {"B1", "B", 10, 8, 0, false},
    {"B2", "B", 11, 9, 0, false},
    {"B3", "B", 12, -1, 0, false},

    {"C", "", 13, -1, 0, false},
    {"C1", "C", 14, 7, 0, true},
    {"C2", "C", 15, -1, 0, false},
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

SimFactory FactoryOf(const MenuItemDef &item)
{
    return item.slot > 0 ? RegisteredFactory(QString::fromLatin1(item.name)) : nullptr;
}
