#include "menutable.h"


const MenuItemDef MenuTable[] = {
    {"A", "", 1, -1, 0, false, nullptr},
    {"A1", "A", 2, -1, 0, true, nullptr},
    {"A2", "A", 3, -1, 0, false, nullptr},
    {"A21", "A2", 4, 39, 0, false, nullptr},
    {"A22", "A2", 5, 17, 0, false, nullptr},
    {"A23", "A2", 6, 38, 0, false, nullptr},
    {"A26", "A2", 54, -1, 0, false, nullptr},
    {"A3", "A", 7, -1, 0, false, nullptr},
    {"A5", "A", 53, -1, 0, true, nullptr},
    {"A51", "A5", 4, -1, 0, false, nullptr},
    {"A52", "A5", 5, -1, 0, false, nullptr},
    {"A53", "A5", 6, -1, 0, false, nullptr},
    {"A57", "A5", 54, -1, 0, false, nullptr},
    {"A4", "A", 8, -1, 0, false, nullptr},

    {"D", "", 16, -1, 0, false, nullptr},
    {"D1", "D", 17, 12, 19, false, "Vastara/terremoti.htm#primarie"},
    {"D2", "D", 18, 12, 21, false, "Vastara/terremoti.htm#secondarie"},
    {"D3", "D", 19, 12, 11, false, "Vastara/terremoti.htm#love"},
    {"D4", "D", 20, 12, 20, true, "Vastara/terremoti.htm#rayleigh"},
    {"D5", "D", 21, -1, 15, true, "Vastara/terremoti.htm#oscillazioni"},
    {"D6", "D", 22, -1, 6, false, "Vastara/terremoti.htm#epicentro"},

    {"E", "", 23, -1, 0, false, nullptr},
    {"E1", "E", 24, 14, 3, false, "Vastara/moti.htm#centrifuga"},
    {"E2", "E", 25, 26, 8, false, "Vastara/moti.htm#coriolis"},
    {"E3", "E", 26, 13, 9, true, "Vastara/moti.htm#pendolo"},
    {"E4", "E", 27, -1, 10, false, "Vastara/moti.htm#caduta"},
    {"E5", "E", 28, 32, 16, true, "Vastara/moti.htm#variazione"},
    {"E6", "E", 29, -1, 30, false, "Vastara/moti.htm#ciclone"},

    {"F", "", 30, -1, 0, false, nullptr},
    {"F1", "F", 31, -1, 14, true, "Vastara/luna.htm#moti"},
    {"F2", "F", 32, 3, 7, true, "Vastara/luna.htm#fasi"},
    {"F3", "F", 33, -1, 13, false, "Vastara/luna.htm#maree"},

    {"G", "", 34, -1, 0, false, nullptr},
    {"G1", "G", 35, 25, 17, false, "Vastara/sistema.htm#prima"},
    {"G2", "G", 36, 16, 23, false, "Vastara/sistema.htm#seconda"},
    {"G3", "G", 37, 25, 25, true, "Vastara/sistema.htm#terza"},
    {"G4", "G", 38, -1, 24, true, "Vastara/sistema.htm#relativo"},
    {"G5", "G", 39, -1, 1, true, "Vastara/sistema.htm#cammino"},
    {"G6", "G", 40, -1, 27, false, "Vastara/sistema.htm#irraggiamento"},

    {"H", "", 41, -1, 0, false, nullptr},
    {"H1", "H", 42, 25, 2, true, "Vastara/meccanica.htm#moto"},
    {"H2", "H", 43, -1, 4, true, "Vastara/meccanica.htm#sistema"},
    {"H3", "H", 44, 36, 18, false, "Vastara/meccanica.htm#precessione"},
    {"H4", "H", 45, 15, 26, true, "Vastara/meccanica.htm#trottola"},
    {"H5", "H", 46, -1, 28, false, "Vastara/meccanica.htm#espansione"},

    {"I", "", 47, -1, 0, false, nullptr},
    {"I1", "I", 48, -1, 12, true, "Vastara/varie.htm#bottiglia"},
    {"I2", "I", 49, -1, 31, true, "Vastara/varie.htm#antenna"},
    {"I3", "I", 50, 24, 0, false, nullptr},
    {"I31", "I3", 51, -1, 22, false, "Vastara/varie.htm#simulazione"},
    {"I32", "I3", 52, -1, 5, false, "Vastara/varie.htm#confronto"},

    {"B", "", 9, -1, 0, false, nullptr},
    {"B1", "B", 10, 8, 0, false, nullptr},
    {"B2", "B", 11, 9, 0, false, nullptr},
    {"B3", "B", 12, -1, 0, false, nullptr},

    {"C", "", 13, -1, 0, false, nullptr},
    {"C1", "C", 14, 7, 0, true, nullptr},
    {"C2", "C", 15, -1, 0, false, nullptr},
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
