#pragma once

class QWidget;

// Keeps a top-level window above the other windows, or releases it. A window that was showing stays showing.
void setAlwaysOnTop(QWidget *window, bool onTop);
