#pragma once

#include <QTabBar>
#include <QTabWidget>

namespace pelmaris::app {

// Tabs of one fixed width, set by the window as it resizes.
class PageTabBar : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;
    void setTabWidth(int width);
    int tabWidth() const { return m_width; }

protected:
    QSize tabSizeHint(int index) const override;

private:
    int m_width = 0;
};

class PageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit PageControl(QWidget *parent = nullptr);
    PageTabBar *pageTabBar() const { return m_bar; }

private:
    PageTabBar *m_bar;
};

} // namespace pelmaris::app
