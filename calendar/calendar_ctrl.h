// One month of the solar calendar as a Qt widget: paints the picture its CCalendarModel hands it
// off screen, and forwards clicks, keys and tooltips to the model. The owner may ask to hear of
// each mark a click toggles.
#pragma once

#include <functional>

#include <QFont>
#include <QPoint>
#include <QWidget>

#include "dialog/calendar_model.h"

class CCalendarCtrl : public QWidget {
public:
    explicit CCalendarCtrl(QWidget* parent = nullptr);

    CCalendarModel& Model() { return m_model; }
    const CCalendarModel& Model() const { return m_model; }
    // Shows that month with that day current and repaints; a date the record refuses leaves the
    // previous date in place.
    void SetDate(int year, int month, int day);
    const CLunarDate& GetDate() const { return m_model.GetDate(); }

    // Draws at `scale` times the sizes the control was designed with (fonts, header row): for a
    // dialog shrunk onto a small screen. 1 draws it as designed.
    void SetScale(double scale);

    // The calendar's key for a Qt key code.
    static CalendarKey KeyOf(int qtKey);

    // Called after a click has toggled the mark of (month, day), so that the owner can recount.
    void SetMarkToggled(std::function<void(int month, int day)> handler) { m_markToggled = std::move(handler); }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const QFont& Font(CalendarFont font) const;

    CCalendarModel m_model;
    QFont m_fontTitle, m_fontHeader, m_fontDay;
    int m_nCaptionHeight;  // the weekday header's height: the desktop's caption height
    std::function<void(int, int)> m_markToggled;
};
