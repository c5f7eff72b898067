#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// Items of a dialog template. Each carries its template id (0: none) in the "itemId" property.

QLabel* AddStatic(QWidget* parent, const QString& text, const QRect& where, int itemId = 0);
QPushButton* AddPushButton(QWidget* parent, int itemId, const QString& caption, const QRect& where);
