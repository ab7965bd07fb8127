#pragma once
// Windows whose animation waits for its start button, or runs once and stops, started (again)
// as a user would with that button.
#include "simwindow.h"
#include "sims/earthquakes/epicentro.h"
#include "sims/mechanics/espansione.h"
#include "sims/moon/fasilunari.h"
#include "sims/rotation/centriguga.h"
#include "sims/rotation/coriolis.h"
#include "sims/rotation/gravi.h"
#include "sims/solar/camsole.h"

inline void StartIfStopped(SimWindow *w)
{
    if (w->tempo->isActive())
        return;
    if (auto *f = qobject_cast<Tfaslun *>(w))
        f->partenzaClick();
    else if (auto *e = qobject_cast<TEpice *>(w))
        e->disegnaClick();
    else if (auto *c = qobject_cast<TCenfuga *>(w))
        c->disegnaClick();
    else if (auto *r = qobject_cast<TFerre *>(w))
        r->disegnaClick();
    else if (auto *g = qobject_cast<Tcaduta *>(w))
        g->viaClick();
    else if (auto *u = qobject_cast<Tespanduni *>(w))
        u->aggiornaClick();
    else if (auto *s = qobject_cast<Tcammin *>(w))
        s->partenzaClick();
}
