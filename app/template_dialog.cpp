#include "app/template_dialog.h"

#include <algorithm>
#include <cmath>

#include <QAbstractItemModel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "dialog/screen_fit.h"
#include "res/app_icon.h"
#include "res/resource.h"
#include "widgets/log_font.h"

namespace {

constexpr int ICON_PIXELS = 32;

}  // namespace

CTemplateDialog::CTemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), m_template(dialogTemplate)
{
    setWindowTitle(QString::fromUtf8(m_template.caption));
    setFont(MakeDialogFont(QString::fromUtf8(m_template.face), m_template.pointSize));
    // A modal frame: the template fixes the size.
    setFixedSize(DialogUnitsToPixelsX(m_template, m_template.cx), DialogUnitsToPixelsY(m_template, m_template.cy));

    // Widgets are created in tab order, which Qt's focus chain follows.
    for (const DialogControl& control : m_template.controls) {
        QWidget* widget = CreateControl(control);
        if (control.id != IDC_STATIC) m_controls[control.id] = widget;
    }
    OnClicked(IDOK, [this] { OnOK(); });
    OnClicked(IDCANCEL, [this] { OnCancel(); });
}

QRect CTemplateDialog::MapDialogRect(int x, int y, int cx, int cy) const
{
    return QRect(DialogUnitsToPixelsX(m_template, x), DialogUnitsToPixelsY(m_template, y),
                 DialogUnitsToPixelsX(m_template, cx), DialogUnitsToPixelsY(m_template, cy));
}

QWidget* CTemplateDialog::CreateControl(const DialogControl& c)
{
    const QString caption = QString::fromUtf8(c.caption);
    const QRect rect = MapDialogRect(c.x, c.y, c.cx, c.cy);
    if (c.kind != ControlKind::RadioButton || (c.style & STYLE_GROUP)) m_radioGroup = nullptr;

    QWidget* widget = nullptr;
    switch (c.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(caption, this);
        button->setDefault(c.kind == ControlKind::DefPushButton);
        widget = button;
        break;
    }
    case ControlKind::CheckBox: widget = new QCheckBox(caption, this); break;
    case ControlKind::RadioButton: {
        auto* radio = new QRadioButton(caption, this);
        // Siblings would all be one exclusive set; the template's groups decide instead.
        radio->setAutoExclusive(false);
        if (!m_radioGroup) m_radioGroup = new QButtonGroup(this);
        m_radioGroup->addButton(radio);
        widget = radio;
        break;
    }
    case ControlKind::ComboBox: {
        auto* combo = new QComboBox(this);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        if (c.style & STYLE_SORT) {
            QAbstractItemModel* model = combo->model();
            connect(model, &QAbstractItemModel::rowsInserted, combo, [model] { model->sort(0); });
        }
        // The template's height is that of the dropped list; the closed box keeps its own.
        widget = combo;
        break;
    }
    case ControlKind::Edit: widget = new QLineEdit(this); break;
    case ControlKind::Static: {
        auto* label = new QLabel(caption, this);
        label->setAlignment((c.style & STYLE_CENTER ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
        widget = label;
        break;
    }
    case ControlKind::GroupBox: widget = new QGroupBox(caption, this); break;
    case ControlKind::Icon: {
        auto* label = new QLabel(this);
        label->setPixmap(AppIcon().pixmap(ICON_PIXELS, ICON_PIXELS));
        widget = label;
        break;
    }
    case ControlKind::Progress: {
        auto* bar = new QProgressBar(this);
        bar->setAlignment(Qt::AlignCenter);
        widget = bar;
        break;
    }
    }

    if (c.kind == ControlKind::ComboBox) {
        widget->setGeometry(rect.x(), rect.y(), rect.width(), widget->sizeHint().height());
    } else if (c.kind == ControlKind::Icon) {
        widget->setGeometry(rect.x(), rect.y(), ICON_PIXELS, ICON_PIXELS);
    } else {
        widget->setGeometry(rect);
    }
    if (c.kind == ControlKind::GroupBox) {
        // A frame drawn around controls that come before it in tab order must stay beneath them.
        widget->lower();
        widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    return widget;
}

void CTemplateDialog::ScaleContents(double scale)
{
    // Always from the size drawn, so that fitting again (a screen changed, a frame learnt late)
    // neither shrinks twice nor loses a pixel to rounding each time.
    if (!m_drawn) {
        m_drawn.emplace();
        m_drawn->font = font();
        m_drawn->size = size();
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow()) m_drawn->children.emplace_back(child, child->geometry());
        }
    }
    const auto scaled = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
    for (const auto& [child, r] : m_drawn->children) {
        if (!child) continue;
        // Edges, not sizes, are scaled, so that controls that touched still touch.
        child->setGeometry(QRect(QPoint(scaled(r.left()), scaled(r.top())),
                                 QPoint(scaled(r.right() + 1) - 1, scaled(r.bottom() + 1) - 1)));
    }
    QFont smaller = m_drawn->font;
    if (scale < 1.0) smaller.setFamily(ScaledHangulFace(QString::fromUtf8(m_template.face)));
    smaller.setPixelSize(ScaledFontPixels(m_drawn->font.pixelSize(), scale));
    setFont(smaller);
    setFixedSize(scaled(m_drawn->size.width()), scaled(m_drawn->size.height()));
}

int CTemplateDialog::DoModal()
{
    // Modal to the window it belongs to, not to the whole application: the console, a window
    // of its own, stays usable while any dialog runs. A dialog without a parent blocks nothing.
    setWindowModality(Qt::WindowModal);
    return exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

QWidget* CTemplateDialog::GetDlgItem(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void CTemplateDialog::SubclassDlgItem(int id, QWidget* widget)
{
    QWidget* old = GetDlgItem(id);
    if (!old || old == widget) return;
    widget->setParent(this);
    widget->setGeometry(old->geometry());
    widget->stackUnder(old);
    widget->setVisible(old->isVisibleTo(this));
    m_controls[id] = widget;
    delete old;
}

void CTemplateDialog::OnClicked(int id, std::function<void()> handler)
{
    if (auto* button = GetDlgItemAs<QAbstractButton>(id)) {
        connect(button, &QAbstractButton::clicked, this, [handler = std::move(handler)] { handler(); });
    }
}

void CTemplateDialog::OnOK()
{
    done(QDialog::Accepted);
}

void CTemplateDialog::OnCancel()
{
    done(QDialog::Rejected);
}

void CTemplateDialog::reject()
{
    OnCancel();
}

void CTemplateDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_bInitialised) {
        m_bInitialised = true;
        OnInitDialog();
    }
}
