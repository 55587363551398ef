// A static text control that paints itself: a background, optionally a left-to-right gradient,
// and one centred line of text in DotumChe. Used for the year caption of the main dialog.
#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

#include "widgets/colorref.h"

class QPainter;

class CColorLabel : public QWidget {
public:
    explicit CColorLabel(QWidget* parent = nullptr);

    // Note the order: text colour first. Repaints; returns 1 like the invalidation it stands for.
    int SetStyle(COLORREF crText, COLORREF crBack, int nFontHeight, int bGradient, int bDoubleText);
    // Neither repaints: the next paint shows them.
    void SetGradientEnd(COLORREF crGradientEnd);
    void SetCaption(const QString& strText);

    // n (at least 2) bands from `from` towards `to` with truncating integer steps; the last band takes the
    // leftover width and stops short of `to` by the truncation.
    static void FillGradient(QPainter& dc, const QRect& rect, int n, COLORREF from, COLORREF to);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_bGradient = 0;
    COLORREF m_crText = 0x000000;
    COLORREF m_crBack = 0xFF0000;
    int m_nFontHeight = 10;
    QFont m_font;  // DotumChe at m_nFontHeight, made when that changes: its narrowing is measured
    int m_bDoubleText = 0;
    QString m_strText = QStringLiteral("1");
    COLORREF m_crGradientEnd = 0x000000;
};
