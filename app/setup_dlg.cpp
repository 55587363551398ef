#include "app/setup_dlg.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>

#include "app/about_dlg.h"
#include "app/loan_period_dlg.h"
#include "app/weekday_dlg.h"
#include "app/window_frame.h"
#include "dialog/color_label_model.h"
#include "dialog/screen_fit.h"
#include "res/app_icon.h"
#include "res/resource.h"
#include "res/setup_dialog.h"

CSetupDlg::CSetupDlg()
    : CTemplateDialog(SETUP_TEMPLATE), CSetupBehaviour(static_cast<DialogView&>(*this)), m_hIcon(AppIcon())
{
    m_stepTimer.setSingleShot(true);
    connect(&m_stepTimer, &QTimer::timeout, this, [this] { OnStepTimer(); });
    for (const DialogControl& control : SETUP_TEMPLATE.controls) {
        if (control.id != IDOK) OnClicked(control.id, [this, id = control.id] { OnCommand(id); });
    }
    // A choice made in the list, not every change of the edit field.
    connect(GetDlgItemAs<QComboBox>(IDC_BIWEEKLY_WEEKDAY), &QComboBox::activated, this,
            [this] { OnCommand(IDC_BIWEEKLY_WEEKDAY); });
}

CSetupDlg::~CSetupDlg()
{
    // First of all: no reader may post a frame for a dialog that is going away.
    m_comm.Shutdown();
}

void CSetupDlg::ShowMessageBox(const QString& text)
{
    if (m_messageSink) {
        m_messageSink(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Dorvane"), text, QMessageBox::Ok, this);
    // Blocks the dialog, not the console: the operator may want to read what came.
    box.setWindowModality(Qt::WindowModal);
    box.exec();
}

void CSetupDlg::OnInitDialog()
{
    // Data exchange: the year caption draws itself.
    SubclassDlgItem(IDC_YEAR_LABEL, &m_yearLabel);
    // No system menu reaches an application here: the about item lives in the dialog's context
    // menu and on F1.
    if (*LoadResourceString(IDS_ABOUTBOX) != '\0') {
        auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
        connect(help, &QShortcut::activated, this, [this] { OnMenuCommand(IDM_ABOUTBOX); });
    }
    setWindowIcon(m_hIcon);
    for (int month = 1; month <= 12; ++month) {
        CCalendarCtrl& calendar = m_calendar[month - 1];
        const CalRect place = CalendarPlace(month);
        calendar.setParent(this);
        calendar.setGeometry(place.left, place.top, place.Width(), place.Height());
        calendar.SetMarkToggled([this](int, int) { OnMarkToggled(); });
        calendar.installEventFilter(this);
        calendar.show();
    }
    // Top-left corner; the template fixes the client size (1022 x 730 in the 1024 x 768 frame).
    FitScreen();
    InitDialog();
}

void CSetupDlg::FitScreen()
{
    const QMargins frame = ExpectedFrame(*this);
    m_fittedFrame = frame;
    const QRect room = ScreenRoom(*this);
    if (room.isEmpty()) return;
    // Scaled rather than scrolled: every button stays on the screen, and the calendars stay
    // whole, a year at a glance.
    const QSize drawn(DialogUnitsToPixelsX(SETUP_TEMPLATE, SETUP_TEMPLATE.cx),
                      DialogUnitsToPixelsY(SETUP_TEMPLATE, SETUP_TEMPLATE.cy));
    const double scale = FitScale(drawn.width(), drawn.height(), frame.left() + frame.right(),
                                  frame.top() + frame.bottom(), {room.x(), room.y(), room.width(), room.height()});
    ScaleContents(scale);
    for (CCalendarCtrl& calendar : m_calendar) calendar.SetScale(scale);
    move(room.topLeft());  // the frame's corner
}

bool CSetupDlg::event(QEvent* event)
{
    const bool handled = CTemplateDialog::event(event);
    // The window manager tells the frame once the window is on the screen: fit again with it,
    // and put the console beside the dialog as it now stands. Not before the first fit, which
    // waits for the calendars: a platform that knows the frame before the dialog is shown (Qt's
    // offscreen one) sends a move first, and a fit then would leave them out of the scaling.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Show) && m_fittedFrame && FrameKnown(*this) &&
        ExpectedFrame(*this) != *m_fittedFrame) {
        FitScreen();
        if (m_console.isVisible()) m_console.Open(*this);
    }
    return handled;
}

void CSetupDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    for (const MenuItem& item : ContextMenu()) {
        menu.addAction(QString::fromStdString(item.text), this,
                       [this, command = item.command] { OnMenuCommand(command); });
    }
    menu.exec(event->globalPos());
}

bool CSetupDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !qobject_cast<QWidget*>(watched)) return false;
    // The dialog's keyboard interface takes these before a calendar sees them, as a dialog does
    // with a control that asks for no keys of its own.
    auto* key = static_cast<QKeyEvent*>(event);
    const CalendarKey calendarKey = CCalendarCtrl::KeyOf(key->key());
    if (calendarKey != CalendarKey::Other && !CalendarTakesKeyInDialog(calendarKey)) return true;
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: keyPressEvent(key); return true;
    default: return false;
    }
}

int CSetupDlg::FocusedControl() const
{
    const QWidget* focus = focusWidget();
    if (!focus) return IDC_STATIC;
    for (const DialogControl& control : SETUP_TEMPLATE.controls) {
        const QWidget* widget = GetDlgItem(control.id);
        if (widget && (widget == focus || widget->isAncestorOf(focus))) return control.id;
    }
    return IDC_STATIC;
}

void CSetupDlg::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && OnEnterIn(FocusedControl())) return;
    CTemplateDialog::keyPressEvent(event);
}

// Ending the dialog. The close box (and Alt+F4) closes the console first; "종  료" and Esc leave
// it to the end of the process. Every way asks first while an upload runs.

void CSetupDlg::OnOK()
{
    if (MayEnd()) CTemplateDialog::OnOK();
}

void CSetupDlg::OnCancel()
{
    if (MayEnd()) CTemplateDialog::OnCancel();
}

void CSetupDlg::closeEvent(QCloseEvent* event)
{
    if (!MayEnd()) {
        event->ignore();
        return;
    }
    m_console.hide();
    CTemplateDialog::closeEvent(event);
}

// DialogView.

void CSetupDlg::SetControlText(int id, const std::string& text)
{
    const QString shown = QString::fromStdString(text);
    QWidget* control = GetDlgItem(id);
    if (auto* label = qobject_cast<QLabel*>(control)) label->setText(shown);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(shown);
    if (auto* combo = qobject_cast<QComboBox*>(control)) combo->setEditText(shown);
}

std::string CSetupDlg::ControlText(int id) const
{
    const QWidget* control = GetDlgItem(id);
    if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text().toStdString();
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) return button->text().toStdString();
    if (const auto* combo = qobject_cast<const QComboBox*>(control)) return combo->currentText().toStdString();
    return {};
}

bool CSetupDlg::ControlChecked(int id) const
{
    return GetDlgItemAs<QAbstractButton>(id)->isChecked();
}

void CSetupDlg::SetControlChecked(int id, bool checked)
{
    GetDlgItemAs<QAbstractButton>(id)->setChecked(checked);
}

void CSetupDlg::EnableControl(int id, bool enabled)
{
    GetDlgItem(id)->setEnabled(enabled);
}

void CSetupDlg::ShowControl(int id, bool visible)
{
    GetDlgItem(id)->setVisible(visible);
}

void CSetupDlg::SetControlTip(int id, const std::string& tip)
{
    GetDlgItem(id)->setToolTip(QString::fromStdString(tip));
}

void CSetupDlg::AddComboString(int id, const std::string& text)
{
    GetDlgItemAs<QComboBox>(id)->addItem(QString::fromStdString(text));
}

bool CSetupDlg::SelectComboString(int id, const std::string& text)
{
    auto* combo = GetDlgItemAs<QComboBox>(id);
    const int index = combo->findText(QString::fromStdString(text));
    if (index < 0) return false;
    combo->setCurrentIndex(index);
    return true;
}

int CSetupDlg::ComboSelection(int id) const
{
    return GetDlgItemAs<QComboBox>(id)->currentIndex();
}

void CSetupDlg::SetComboSelection(int id, int index)
{
    GetDlgItemAs<QComboBox>(id)->setCurrentIndex(index);
}

void CSetupDlg::ShowProgressLine(const ProgressLine& line)
{
    auto* bar = GetDlgItemAs<QProgressBar>(IDC_PROGRESS);
    bar->setRange(0, line.maximum);
    bar->setValue(line.value);
    bar->setFormat(QString::fromStdString(line.text));
    bar->setToolTip(QString::fromStdString(line.tip));
    bar->setVisible(line.visible);
}

void CSetupDlg::SetYearCaption(const std::string& text)
{
    const ColorLabelStyle& style = YEAR_CAPTION_STYLE;
    m_yearLabel.SetStyle(style.text, style.back, style.fontHeight, style.gradient, style.doubleText);
    m_yearLabel.SetGradientEnd(style.gradientEnd);
    m_yearLabel.SetCaption(QString::fromStdString(text));
}

CCalendarModel& CSetupDlg::Calendar(int month)
{
    return m_calendar[month - 1].Model();
}

void CSetupDlg::RepaintAll()
{
    update();
    for (CCalendarCtrl& calendar : m_calendar) calendar.update();
}

void CSetupDlg::TellOperator(const std::string& text)
{
    ShowMessageBox(QString::fromStdString(text));
}

bool CSetupDlg::AskOperator(const std::string& text)
{
    QMessageBox ask(QMessageBox::Question, QStringLiteral("Dorvane"), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No, this);
    // Qt's Korean texts say 예(&Y) and 아니요(&N); where they are not installed, the buttons still
    // speak Korean.
    if (!ask.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("예"))) {
        ask.button(QMessageBox::Yes)->setText(QStringLiteral("예"));
        ask.button(QMessageBox::No)->setText(QStringLiteral("아니요"));
    }
    ask.setDefaultButton(QMessageBox::No);
    ask.setWindowModality(Qt::WindowModal);
    return ask.exec() == QMessageBox::Yes;
}

void CSetupDlg::AppendConsoleLine(const std::string& line)
{
    m_console.Write(line);
}

void CSetupDlg::OpenConsole()
{
    m_console.Open(*this);
    raise();
    activateWindow();  // the keyboard stays with the dialog
}

bool CSetupDlg::RunWeekdayDialog(std::string& digits)
{
    CWeekdayDlg dlg(this);
    if (dlg.DoModal() != IDOK) return false;
    digits = dlg.m_strWeekdays;
    return true;
}

bool CSetupDlg::RunLoanPeriodDialog(int& first, int& second)
{
    CLoanPeriodDlg dlg(this);
    if (dlg.DoModal() != IDOK) return false;
    first = dlg.m_nLoanPeriod1;
    second = dlg.m_nLoanPeriod2;
    return true;
}

void CSetupDlg::RunAboutDialog()
{
    CAboutDlg dlg(this);
    dlg.DoModal();
}

std::string CSetupDlg::ChooseHolidayFile(bool save, const std::string& suggestedName)
{
    if (m_fileChooser) return m_fileChooser(save).toStdString();
    const QString filter = QStringLiteral("iCalendar (*.ics)");
    if (!save)
        return QFileDialog::getOpenFileName(this, QString::fromUtf8(TEXT_IMPORT_HOLIDAYS), {}, filter).toStdString();
    return QFileDialog::getSaveFileName(this, QString::fromUtf8(TEXT_EXPORT_HOLIDAYS),
                                        QString::fromStdString(suggestedName),
                                        filter + QStringLiteral(";;JSON (*.json)"))
        .toStdString();
}

void CSetupDlg::StartStepTimer(int milliseconds)
{
    m_stepTimer.start(milliseconds);
}

void CSetupDlg::StopStepTimer()
{
    m_stepTimer.stop();
}

void CSetupDlg::PostToUiThread(std::function<void()> call)
{
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}
