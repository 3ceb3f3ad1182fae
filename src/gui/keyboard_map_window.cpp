#include "keyboard_map_window.h"

#include <QGuiApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "model/notation_tables.h"
#include "model/note_values.h"
#include "qt_canvas.h"
#include "view/key_codes.h"

#ifdef SORVEL_HAVE_XKB
#include <QtGui/qguiapplication_platform.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>
#endif

namespace sorvel::gui {

namespace {

namespace k = mac_key;

// The keyboard, row by row: a key's code (-1: none the score window knows) and width in
// key widths. A JIS keyboard's extra keys are drawn where a JIS keyboard has them.
struct Slot {
    std::int64_t code;
    double width;
    const char* legend = nullptr;  // fixed legends of keys that type no character
};
constexpr double kGap = 0.08;
// clang-format off
const std::vector<std::vector<Slot>> kRows = {
    {{k::Escape, 1.0, "Esc"}},
    {{k::Grave, 1}, {k::Digit1, 1}, {k::Digit2, 1}, {k::Digit3, 1}, {k::Digit4, 1},
     {k::Digit5, 1}, {k::Digit6, 1}, {k::Digit7, 1}, {k::Digit8, 1}, {k::Digit9, 1},
     {k::Digit0, 1}, {k::Minus, 1}, {k::Equal, 1}, {k::JisYen, 1}, {k::Delete, 1.5, "⌫"}},
    {{k::Tab, 1.5, "Tab"}, {k::Q, 1}, {k::W, 1}, {k::E, 1}, {k::R, 1}, {k::T, 1}, {k::Y, 1},
     {k::U, 1}, {k::I, 1}, {k::O, 1}, {k::P, 1}, {k::LeftBracket, 1}, {k::RightBracket, 1},
     {k::Backslash, 1.5}},
    {{-1, 1.75, "Caps"}, {k::A, 1}, {k::S, 1}, {k::D, 1}, {k::F, 1}, {k::G, 1}, {k::H, 1},
     {k::J, 1}, {k::K, 1}, {k::L, 1}, {k::Semicolon, 1}, {k::Quote, 1}, {k::Return, 2.25, "⏎"}},
    {{-2, 2.25, "⇧"}, {k::Z, 1}, {k::X, 1}, {k::C, 1}, {k::V, 1}, {k::B, 1}, {k::N, 1},
     {k::M, 1}, {k::Comma, 1}, {k::Period, 1}, {k::Slash, 1}, {k::JisUnderscore, 1},
     {-3, 1.75, "⇧"}},
    {{-4, 4.0, nullptr}, {k::Space, 6.0, "Space"}},
};
// clang-format on
// The arrow keys, right of the main block: column, row (0 = the Escape row).
struct ArrowSlot {
    std::int64_t code;
    double column, row;
    const char* legend;
};
constexpr ArrowSlot kArrows[] = {{k::UpArrow, 16.6, 4, "↑"},
                                 {k::LeftArrow, 15.6, 5, "←"},
                                 {k::DownArrow, 16.6, 5, "↓"},
                                 {k::RightArrow, 17.6, 5, "→"}};
constexpr double kBoardWidth = 18.6;
constexpr double kBoardHeight = 6.0;

QString pitchName(std::int64_t pitch) {
    const std::string_view name = tables::noteArr[static_cast<std::size_t>(pitch)];
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

QString valueName(std::int64_t row, std::int64_t column) {
    if (column < 0 || column >= kValueColumns) return {};
    const QString sizes[] = {
        KeyboardMapWindow::tr("whole"),     KeyboardMapWindow::tr("half"),
        KeyboardMapWindow::tr("quarter"),   KeyboardMapWindow::tr("eighth"),
        KeyboardMapWindow::tr("sixteenth"), KeyboardMapWindow::tr("thirty-second")};
    const QString marks[] = {
        KeyboardMapWindow::tr("blank"),      KeyboardMapWindow::tr("dot"),
        KeyboardMapWindow::tr("bar line"),   KeyboardMapWindow::tr("repeat start"),
        KeyboardMapWindow::tr("repeat end"), KeyboardMapWindow::tr("first ending")};
    const auto c = static_cast<std::size_t>(column);
    if (row == 0) return KeyboardMapWindow::tr("%1 note").arg(sizes[c]);
    if (row == 1) return KeyboardMapWindow::tr("%1 rest").arg(sizes[c]);
    if (row == 2) return marks[c];
    return {};
}

// A note value in a few characters, for a key's corner (its glyph shows the size).
QString valueShort(std::int64_t row, std::int64_t column) {
    if (column < 0 || column >= kValueColumns) return {};
    const QString sizes[] = {QStringLiteral("1"),   QStringLiteral("1/2"),  QStringLiteral("1/4"),
                             QStringLiteral("1/8"), QStringLiteral("1/16"), QStringLiteral("1/32")};
    const QString marks[] = {KeyboardMapWindow::tr("blank"), KeyboardMapWindow::tr("dot"),
                             KeyboardMapWindow::tr("bar"),   QStringLiteral("|:"),
                             QStringLiteral(":|"),           QStringLiteral("1.")};
    const auto c = static_cast<std::size_t>(column);
    if (row == 0) return sizes[c];
    if (row == 1) return KeyboardMapWindow::tr("rest");
    if (row == 2) return marks[c];
    return {};
}

QString stepName(std::int64_t step) {
    switch (step) {
        case 0:
            return KeyboardMapWindow::tr("up ♯");
        case 1:
            return KeyboardMapWindow::tr("up");
        case 2:
            return KeyboardMapWindow::tr("down");
        case 3:
            return KeyboardMapWindow::tr("down ♭");
        default:
            return KeyboardMapWindow::tr("octave");
    }
}

QString commandName(KeyCommand command) {
    switch (command) {
        case KeyCommand::SelectLeft:
            return KeyboardMapWindow::tr("select left");
        case KeyCommand::SelectRight:
            return KeyboardMapWindow::tr("select right");
        case KeyCommand::Update:
            return KeyboardMapWindow::tr("write");
        case KeyCommand::Insert:
            return KeyboardMapWindow::tr("insert");
        case KeyCommand::Add:
            return KeyboardMapWindow::tr("add");
        case KeyCommand::Delete:
            return KeyboardMapWindow::tr("delete");
        case KeyCommand::Triplet:
            return KeyboardMapWindow::tr("triplet");
        case KeyCommand::Tie:
            return KeyboardMapWindow::tr("tie");
        case KeyCommand::SwapForm:
            return KeyboardMapWindow::tr("other form");
        case KeyCommand::Play:
            return KeyboardMapWindow::tr("play / stop");
        case KeyCommand::None:
            break;
    }
    return {};
}

// The legends of the active X11 keyboard layout, where there is one.
class LayoutLegends {
  public:
    LayoutLegends() {
#ifdef SORVEL_HAVE_XKB
        auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
        if (!connection || !xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                                        XKB_X11_MIN_MINOR_XKB_VERSION,
                                                        XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS,
                                                        nullptr, nullptr, nullptr, nullptr)) {
            return;
        }
        context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
        if (!context_ || device < 0) return;
        keymap_ = xkb_x11_keymap_new_from_device(context_, connection, device,
                                                 XKB_KEYMAP_COMPILE_NO_FLAGS);
        if (keymap_) state_ = xkb_x11_state_new_from_device(keymap_, connection, device);
        if (state_) {
            const xkb_layout_index_t layout =
                xkb_state_serialize_layout(state_, XKB_STATE_LAYOUT_EFFECTIVE);
            if (const char* name = xkb_keymap_layout_get_name(keymap_, layout)) {
                name_ = QString::fromUtf8(name);
            }
        }
#endif
    }
    ~LayoutLegends() {
#ifdef SORVEL_HAVE_XKB
        if (state_) xkb_state_unref(state_);
        if (keymap_) xkb_keymap_unref(keymap_);
        if (context_) xkb_context_unref(context_);
#endif
    }
    LayoutLegends(const LayoutLegends&) = delete;
    LayoutLegends& operator=(const LayoutLegends&) = delete;

    const QString& name() const {
        return name_;
    }

    // What the key types without modifiers, in capitals; empty when unknown.
    QString legend([[maybe_unused]] std::int64_t code) const {
#ifdef SORVEL_HAVE_XKB
        const std::optional<std::int64_t> scan = x11ScanCodeOf(code);
        if (state_ && scan) {
            char text[16] = {};
            // Levels of the base state: what the key types with nothing held.
            const xkb_layout_index_t layout =
                xkb_state_key_get_layout(state_, static_cast<xkb_keycode_t>(*scan));
            const xkb_keysym_t* syms = nullptr;
            if (layout != XKB_LAYOUT_INVALID &&
                xkb_keymap_key_get_syms_by_level(keymap_, static_cast<xkb_keycode_t>(*scan), layout,
                                                 0, &syms) > 0 &&
                xkb_keysym_to_utf8(syms[0], text, sizeof text) > 1) {
                const QString s = QString::fromUtf8(text).toUpper();
                if (!s.trimmed().isEmpty() && s.at(0).isPrint()) return s;
            }
        }
#endif
        return {};
    }

  private:
    QString name_;
#ifdef SORVEL_HAVE_XKB
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
#endif
};

// A fifth of tint over base: keys with a role stand apart from the piano's white and black
// keys in a light theme and a dark one alike.
QColor tinted(const QColor& base, const QColor& tint) {
    const auto mix = [](int a, int b) { return (4 * a + b) / 5; };
    return QColor(mix(base.red(), tint.red()), mix(base.green(), tint.green()),
                  mix(base.blue(), tint.blue()));
}

// The piano keys: white for natural pitches, black for sharps and flats.
QColor pianoFill(bool black) {
    return black ? QColor(Qt::black) : QColor(Qt::white);
}

}  // namespace

// The drawing of the keys; the window around it holds the caption.
class KeyboardBoard : public QWidget {
  public:
    explicit KeyboardBoard(KeyboardMapWindow& map) : QWidget(&map), map_(map) {
        setMinimumSize(static_cast<int>(kBoardWidth * 36), static_cast<int>(kBoardHeight * 36));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        setMouseTracking(true);
    }
    QSize sizeHint() const override {
        return {static_cast<int>(kBoardWidth * 56), static_cast<int>(kBoardHeight * 56)};
    }

  protected:
    void paintEvent(QPaintEvent*) override;
    bool event(QEvent* event) override;

  private:
    KeyboardMapWindow& map_;
};

KeyboardMapWindow::KeyboardMapWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("keyboardMap"));
    setWindowTitle(tr("Keyboard"));
    auto* col = new QVBoxLayout(this);
    board_ = new KeyboardBoard(*this);
    board_->setObjectName(QStringLiteral("keyboardBoard"));
    board_->setAccessibleName(tr("Keyboard map"));
    col->addWidget(board_, 1);
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("keyboardCaption"));
    caption_->setWordWrap(true);
    col->addWidget(caption_);
    refresh();
    resize(sizeHint());
}

void KeyboardMapWindow::refresh() {
    const LayoutLegends legends;
    layoutName_ = legends.name();
    std::vector<KeyBinding> bindings = keyBindings();
    const auto bindingOf = [&](std::int64_t code) -> const KeyBinding* {
        for (const KeyBinding& b : bindings)
            if (b.code == code) return &b;
        return nullptr;
    };
    keys_.clear();
    const auto add = [&](std::int64_t code, QRectF place, const char* fixed) {
        MapKey key;
        key.code = code;
        key.place = place;
        key.jisOnly = code == mac_key::JisYen || code == mac_key::JisUnderscore;
        if (fixed) {
            key.legend = QString::fromUtf8(fixed);
        } else if (code >= 0) {
            key.legend = legends.legend(code);
            if (key.legend.isEmpty()) key.legend = QString::fromStdString(usLegendOf(code));
        }
        if (const KeyBinding* b = code >= 0 ? bindingOf(code) : nullptr) {
            key.hasRole = true;
            key.kind = b->role;
            switch (b->role) {
                case KeyRole::Pitch:
                    key.role = pitchName(b->plain);
                    key.blackKey = tables::shflArr[static_cast<std::size_t>(b->plain)] != 0;
                    if (b->shifted >= 0) key.shifted = pitchName(b->shifted);
                    key.description =
                        b->shifted >= 0 ? tr("Piano key: %1 (Shift: %2)").arg(key.role, key.shifted)
                                        : tr("Piano key: %1").arg(key.role);
                    break;
                case KeyRole::Value: {
                    key.role = valueName(b->plain, b->plainColumn);
                    if (const auto v = matrixValue(b->plain, b->plainColumn)) key.value = *v;
                    const QString shifted =
                        b->shifted >= 0 ? valueName(b->shifted, b->shiftedColumn) : QString();
                    key.shifted =
                        b->shifted >= 0 ? valueShort(b->shifted, b->shiftedColumn) : QString();
                    key.description = shifted.isEmpty()
                                          ? tr("Note value: %1").arg(key.role)
                                          : tr("Note value: %1 (Shift: %2)").arg(key.role, shifted);
                    break;
                }
                case KeyRole::PitchStep:
                    key.role = stepName(b->plain);
                    if (b->shifted != b->plain) key.shifted = stepName(b->shifted);
                    key.description =
                        key.shifted.isEmpty()
                            ? tr("Entry pitch: %1").arg(key.role)
                            : tr("Entry pitch: %1 (Shift: %2)").arg(key.role, key.shifted);
                    break;
                case KeyRole::Command:
                    key.role = commandName(b->command);
                    key.description = key.role;
                    break;
            }
        } else if (code == mac_key::Escape) {
            key.hasRole = true;
            key.role = tr("stop typing");
            key.description = tr("Gives the keys back to the score from a field");
        }
        keys_.push_back(key);
    };
    double y = 0;
    for (const std::vector<Slot>& row : kRows) {
        double x = 0;
        for (const Slot& slot : row) {
            if (slot.code != -4) add(slot.code, QRectF(x, y, slot.width, 1), slot.legend);
            x += slot.width;
        }
        y += 1;
    }
    for (const ArrowSlot& a : kArrows) add(a.code, QRectF(a.column, a.row, 1, 1), a.legend);

    QString text =
        tr("White and black keys are the piano (Shift: an octave up); the note glyphs choose "
           "the note value (Shift: the rest). Keys work while no field is being edited.");
    if (!layoutName_.isEmpty()) text += QLatin1Char(' ') + tr("Legends: %1.").arg(layoutName_);
    caption_->setText(text);
    board_->update();
}

double KeyboardMapWindow::unit() const {
    return std::min(board_->width() / kBoardWidth, board_->height() / kBoardHeight);
}

QRectF KeyboardMapWindow::keyRect(const MapKey& key) const {
    const double u = unit();
    return QRectF(key.place.x() * u, key.place.y() * u, key.place.width() * u,
                  key.place.height() * u)
        .adjusted(kGap * u / 2, kGap * u / 2, -kGap * u / 2, -kGap * u / 2);
}

bool KeyboardMapWindow::event(QEvent* event) {
    // A layout switched while the window is open: its legends follow.
    if (event->type() == QEvent::KeyboardLayoutChange) refresh();
    return QWidget::event(event);
}

void KeyboardMapWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) board_->update();
    QWidget::changeEvent(event);
}

void KeyboardBoard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const double u = map_.unit();
    QFont small = font();
    small.setPixelSize(std::max(8, static_cast<int>(u * 0.2)));
    QFont big = font();
    big.setPixelSize(std::max(9, static_cast<int>(u * 0.27)));
    big.setBold(true);
    for (const KeyboardMapWindow::MapKey& key : map_.keys()) {
        const QRectF r = map_.keyRect(key);
        const bool piano = key.hasRole && key.kind == KeyRole::Pitch;
        // Piano keys are white and black whatever the theme; the others follow the palette,
        // the keys with a role a shade apart from those without.
        QColor fill = key.hasRole
                          ? tinted(pal.color(QPalette::Base), pal.color(QPalette::Highlight))
                          : pal.color(QPalette::Button);
        QColor ink = key.hasRole ? pal.color(QPalette::Text) : pal.color(QPalette::ButtonText);
        if (piano) {
            fill = pianoFill(key.blackKey);
            ink = key.blackKey ? QColor(Qt::white) : QColor(Qt::black);
        }
        QPen outline(key.hasRole ? pal.color(QPalette::Highlight) : pal.color(QPalette::Mid),
                     key.hasRole ? 2 : 1);
        if (key.jisOnly) outline.setStyle(Qt::DashLine);
        p.setPen(outline);
        p.setBrush(fill);
        p.drawRoundedRect(r, u * 0.08, u * 0.08);
        const QRectF inner = r.adjusted(u * 0.08, u * 0.04, -u * 0.06, -u * 0.04);
        p.setPen(ink);
        p.setFont(small);
        p.drawText(inner, Qt::AlignLeft | Qt::AlignTop, key.legend);
        if (!key.hasRole) continue;
        if (key.value >= 0) {
            // The note value's own glyph, in the key's ink.
            const QSize box(static_cast<int>(u * 0.42), static_cast<int>(u * 0.58));
            const qreal dpr = devicePixelRatioF();
            const QImage glyph = valuePicture(key.value, box * dpr, {22.0, 30.0}, ink);
            const QRectF at(r.center().x() - box.width() / 2.0 + u * 0.1, r.top() + u * 0.1,
                            box.width(), box.height());
            p.drawImage(at, glyph);
        } else {
            p.setFont(piano ? big : small);
            // Clear of the legend above and of the Shift role in the corner below.
            const double below = key.shifted.isEmpty() || piano ? 0 : u * 0.22;
            p.drawText(inner.adjusted(0, u * 0.2, 0, -below),
                       Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextWordWrap, key.role);
        }
        if (!key.shifted.isEmpty()) {
            p.setFont(small);
            p.drawText(inner, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("⇧") + key.shifted);
        }
    }
}

bool KeyboardBoard::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        for (const KeyboardMapWindow::MapKey& key : map_.keys()) {
            if (map_.keyRect(key).contains(help->pos()) && !key.description.isEmpty()) {
                QToolTip::showText(help->globalPos(),
                                   key.legend + QStringLiteral(": ") + key.description, this);
                return true;
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

}  // namespace sorvel::gui
