#pragma once
// The Qt headers most of the desktop's sources include, compiled once per build instead of once per source.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QWidget>
