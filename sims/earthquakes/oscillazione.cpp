#include "oscillazione.h"

#include "globals.h"
#include "language/texts.h"

#include <QApplication>
#include <QComboBox>
#include <QProgressBar>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <cstdlib>
#include <sys/mman.h>

Toscilla *oscilla = nullptr;

SimWindow *CreateOscilla(QWidget *owner)
{
    oscilla = new Toscilla(owner);
    return oscilla;
}

static const SimRegistration registration("D5", CreateOscilla);

namespace {
constexpr TColor Ocean = RGB(0, 128, 192);
// Relative amplitude of the spheroidal oscillation at each step.
constexpr Extended Amplitude[Toscilla::AmplitudeSteps] = {-0.8L, -0.4L, 0.0L, 0.4L, 0.8L};
// The swing is 4 pixels a unit of amplitude on the globe of the 535-pixel-wide 4:3 client
// (radius 535 * 3/4 / 4); a larger globe swings as much of its radius.
constexpr Extended SwingPerRadius = 4 / (535 * 3 / 4.0L / 4);
constexpr int Beats[16] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 2, 2, 1, 1};

// Pictures sharing one block of memory, freed with the last of them.
struct PictureBlock {
    void *memory;
    int users;
};

void releasePictureBlock(void *info)
{
    auto *block = static_cast<PictureBlock *>(info);
    if (--block->users == 0) {
        std::free(block->memory);
        delete block;
    }
}

// `count` new pictures of w x h filled with a colour, in one block of memory asked for in
// huge pages where the system has them: a mode's pictures are tens of megabytes, and
// touching them for the first time page by page costs more than drawing them.
std::vector<QImage> NewBitmapBlock(int count, int w, int h, TColor fill)
{
    std::vector<QImage> pictures;
    const qsizetype bytesPerLine = qsizetype(qMax(w, 0)) * 4;
    const size_t one = size_t(bytesPerLine) * size_t(qMax(h, 0));
    constexpr size_t Huge = size_t(2) << 20;
    const size_t total = (one * size_t(qMax(count, 0)) + Huge - 1) / Huge * Huge;
    void *memory = total > 0 ? std::aligned_alloc(Huge, total) : nullptr;
    if (!memory) {
        for (int i = 0; i < count; ++i)
            pictures.push_back(NewBitmap(w, h, fill));
        return pictures;
    }
#ifdef MADV_HUGEPAGE
    madvise(memory, total, MADV_HUGEPAGE);
#endif
    auto *block = new PictureBlock{memory, count};
    for (int i = 0; i < count; ++i) {
        QImage picture(static_cast<uchar *>(memory) + i * one, w, h, bytesPerLine, QImage::Format_RGB32,
                       releasePictureBlock, block);
        picture.fill(toQRgb(fill));
        pictures.push_back(std::move(picture));
    }
    return pictures;
}

} // namespace

// The latitudes of the meridians' points, -45 to 45 in steps of 2 degrees, with the sines
// and cosines every picture of a preparation uses.
struct Toscilla::Latitudes {
    static constexpr int Count = 91;
    std::array<Extended, Count> cosPhi, sinPhi, sin2Phi;
    // cos and sin of phi + sigma, for the southern (sigma = -eps) and northern halves.
    std::array<std::array<Extended, Count>, 2> cosTilted, sinTilted;

    explicit Latitudes(Extended eps)
    {
        for (int l = -45; l <= 45; ++l) {
            const Extended phi = Pi * l / 90;
            const int i = l + 45;
            cosPhi[i] = std::cos(phi);
            sinPhi[i] = std::sin(phi);
            sin2Phi[i] = std::sin(2 * phi);
            for (int half = 0; half < 2; ++half) {
                const Extended sigma = half == 0 ? -eps : eps;
                cosTilted[half][i] = std::cos(phi + sigma);
                sinTilted[half][i] = std::sin(phi + sigma);
            }
        }
    }
};

Toscilla::Toscilla(QWidget *owner)
    : SimWindow(owner, 15, 6, QStringLiteral("Vastara/terremoti.htm#oscillazioni"))
{
    setObjectName(QStringLiteral("oscilla"));
    Color = clBlack;
    QPalette bar = barrasotto->palette();
    bar.setColor(QPalette::Window, toQColor(clSilver));
    barrasotto->setPalette(bar);

    AddPausa(AddToolBar(), 21);
    AddCadenza(AddToolBar(), 90);
    tipo = AddDropDown(AddToolBar(), {controlText(70), controlText(71)}, 10, "tipo", true);
    rotazion = AddSpeedButton(AddToolBar(), QStringLiteral("rotaxis"), 11, true, "rotazion");
    disegna = AddToolButton(AddToolBar(), 29, 4, false, "disegna");
    AddGuida(AddToolBar());
    // The list is as wide as its widest item plus room for its arrow.
    FitDropDown(tipo, disegna->sizeHint().width() + 7);
    for (QWidget *w : std::initializer_list<QWidget *>{pausa, cadenza, rotazion, tipo, disegna, guida})
        ShowOwnHint(w);
    connect(tipo, &QComboBox::currentIndexChanged, this, [this] { tipoChange(); });
    connect(tipo, &QComboBox::activated, this, [this] { tipoChange(); });
    connect(disegna, &QToolButton::clicked, this, [this] {
        disegnaClick();
        Refresh();
    });

    AddSotto(clSilver, true);
    Progressione = new QProgressBar(sotto);
    Progressione->setObjectName(QStringLiteral("Progressione"));
    Progressione->setTextVisible(false);
    Progressione->setFixedWidth(150);
    Progressione->setRange(0, PreparationSteps);
    Progressione->hide();
}

Toscilla::~Toscilla()
{
    if (oscilla == this)
        oscilla = nullptr;
}

void Toscilla::LayoutSotto()
{
    if (!Progressione)
        return;
    Progressione->setFixedHeight(qMax(metrics.controlHeight, 1));
    Progressione->move(sotto->width() - Progressione->width() - 10,
                       Div(metrics.barHeight - metrics.controlHeight, 2));
}

void Toscilla::FormCreate()
{
    SimWindow::FormCreate();
    modeReady[1] = true;
    modeReady[2] = false;
    // The rate follows the track bar only once it is moved.
    tempo->setInterval(90);
    // The pictures are drawn for the height the window has now, whatever happens to it
    // before they are drawn.
    CH = ClientHeight();
    S = Div(3 * CH, 5);
    tipo->setCurrentIndex(0);
    modeChosen = modeShown = 1;
    preparationDue = true;
}

void Toscilla::FreeBitmaps()
{
    for (auto &row : globes)
        for (auto &pair : row)
            for (QImage &g : pair)
                g = QImage();
}

int Toscilla::AmplitudeStep(int b)
{
    return Beats[b & 15];
}

QPoint Toscilla::GlobeOrigin() const
{
    return QPoint(Div(ClientWidth(), 2) - Div(3 * ClientHeight(), 10), Div(ClientHeight(), 4));
}

void Toscilla::Prepare()
{
    if (preparationDue)
        PreparePictures();
}

void Toscilla::StepProgress(int steps)
{
    progress += steps;
    Progressione->setValue(qMin(progress, PreparationSteps));
    // Shown now and then, so the bar moves while the pictures are drawn.
    const int percent = int(qint64(progress) * 100 / PreparationSteps);
    if (percent != shownPercent) {
        shownPercent = percent;
        if (Progressione->isVisible())
            Progressione->repaint();
    }
}

void Toscilla::PreparePictures()
{
    preparationDue = false;
    const int m = modeChosen;
    // The tilt stays within 45 degrees: the deformation goes as its cosine, and a tilt near
    // a right angle would leave the outline round.
    tiltAngle = Real(Random(8) * Pi / 28);
    const Real u = Real(CH / 96.0L);
    progress = 0;
    shownPercent = -1;
    Progressione->setValue(0);
    Progressione->show();
    // A mode's pictures are made when it is first prepared, black.
    std::vector<QImage> fresh = NewBitmapBlock(AmplitudeSteps * RotationSteps, S, S, clBlack);
    const Latitudes latitudes(tiltAngle);
    for (int j = 0; j < RotationSteps; ++j)
        for (int k = 0; k < AmplitudeSteps; ++k) {
            QImage &g = Globe(k, j, m);
            g = std::move(fresh[j * AmplitudeSteps + k]);
            DrawGlobe(g, k, j, m, tiltAngle, u, latitudes);
        }
    Progressione->hide();
    barrasotto->show();
    barrasotto->raise();
    beat = 0;
    turn = 0;
}

void Toscilla::DrawGlobe(QImage &picture, int k, int j, int m, Extended eps, Real u, const Latitudes &lat)
{
    const Extended cx = 3 * CH / 10.0L, cy = 11 * CH / 40.0L, r = CH / 4.0L;
    const bool spheroidal = m == 1;
    const Extended A = spheroidal ? SwingPerRadius * r * Amplitude[k] : 0;
    const int twistFactor = k - 2;
    // The picture is new and black.
    Canvas c(&picture);
    c.pen.Color = Ocean;
    c.brush.Color = Ocean;

    // The disc, as two ellipses: each half tilted its own way.
    for (int h : {-24, 24}) {
        const Extended sigma = h < 0 ? -eps : eps;
        const Extended s = spheroidal ? A * std::sin(-46 * Pi / 90 + sigma) : 0;
        c.Ellipse(Round(cx - r + s), Round(cy - r - s), Round(cx + r - s), Round(cy + r + s));
        StepProgress(93);
    }
    const int c1 = spheroidal ? 1 : 0;
    const int xL = Round(cx - 24 * Extended(u) - c1 * A * std::cos(eps));
    const int xR = Round(cx + 24 * Extended(u) + c1 * A * std::cos(eps));

    // The meridians, from the south pole to the north pole; the set moves by one index
    // each rotation step.
    c.pen.Color = clWhite;
    for (int h = j - 24; h <= 24; h += 6) {
        const Extended sigma = h < 0 ? -eps : eps;
        const int half = h < 0 ? 0 : 1;
        const int reach = 24 - std::abs(h);
        Extended lift = 0, twist = 0, stretch = 0;
        if (spheroidal)
            lift = A * std::sin(-Pi / 2 + sigma);
        else
            twist = -Extended(reach * twistFactor);
        c.MoveTo(Round(cx + 0.2L * twist), Round(21 * CH / 40.0L + lift));
        for (int i = 0; i < Latitudes::Count; ++i) {
            if (spheroidal) {
                stretch = A / 24 * h * lat.cosTilted[half][i];
                lift = A * lat.sinTilted[half][i];
            } else {
                twist = reach * twistFactor * lat.sin2Phi[i];
            }
            c.LineTo(Round(cx + h * Extended(u) * lat.cosPhi[i] + stretch - 0.2L * twist),
                     Round(cy - r * lat.sinPhi[i] + lift));
        }
        StepProgress(1);
    }

    // The equator.
    const int ye = Div(11 * CH, 40);
    c.Line(xL, ye, xR, ye);
}

void Toscilla::tempoTimer()
{
    if (!pausa->isChecked()) {
        if (rotazion->isChecked())
            turn = (turn + 1) % RotationSteps;
        beat = (beat + 1) & 15;
    }
    const QPoint o = GlobeOrigin();
    canvas.Draw(o.x(), o.y(), Globe(AmplitudeStep(beat), turn, modeShown));
}

void Toscilla::tipoChange()
{
    disegna->setEnabled(true);
}

void Toscilla::disegnaClick()
{
    disegna->setEnabled(false);
    modeChosen = quint8(qBound(1, tipo->currentIndex() + 1, 2));
    if (!modeReady[modeChosen]) {
        modeReady[modeChosen] = true;
        preparationDue = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        PreparePictures();
        QApplication::restoreOverrideCursor();
    }
    modeShown = modeChosen;
}
