#include "tabcontrol.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

// The header rows: a child above the pages, so that a click or a key on a header is its own.
class TabHeaders : public QWidget
{
public:
    explicit TabHeaders(TabControl *control)
        : QWidget(control)
        , m_control(control)
    {
        setFocusPolicy(Qt::TabFocus);
        setAttribute(Qt::WA_Hover);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        for (int index = 0; index < m_control->count(); ++index) {
            QStyleOptionTab option;
            option.initFrom(this);
            option.shape = QTabBar::RoundedNorth;
            option.text = m_control->caption(index);
            option.rect = m_control->headerRect(index);
            option.row = index / TabControl::TabsPerRow;
            const int column = index % TabControl::TabsPerRow;
            const int inRow = qMin(TabControl::TabsPerRow,
                                   m_control->count() - option.row * TabControl::TabsPerRow);
            option.position = inRow == 1            ? QStyleOptionTab::OnlyOneTab
                              : column == 0         ? QStyleOptionTab::Beginning
                              : column == inRow - 1 ? QStyleOptionTab::End
                                                    : QStyleOptionTab::Middle;
            option.state
                    &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
            if (index == m_control->currentIndex()) {
                option.state |= QStyle::State_Selected;
                if (hasFocus())
                    option.state |= QStyle::State_HasFocus;
            }
            if (underMouse() && option.rect.contains(mapFromGlobal(QCursor::pos())))
                option.state |= QStyle::State_MouseOver;
            painter.drawControl(QStyle::CE_TabBarTab, option);
        }
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        for (int index = 0; index < m_control->count(); ++index) {
            if (m_control->headerRect(index).contains(event->position().toPoint()))
                m_control->setCurrentIndex(index);
        }
    }

    void mouseMoveEvent(QMouseEvent *) override { update(); }

    void keyPressEvent(QKeyEvent *event) override
    {
        const int current = m_control->currentIndex();
        switch (event->key()) {
        case Qt::Key_Left:
            m_control->setCurrentIndex(qMax(current - 1, 0));
            break;
        case Qt::Key_Right:
            m_control->setCurrentIndex(qMin(current + 1, m_control->count() - 1));
            break;
        default:
            QWidget::keyPressEvent(event);
        }
    }

private:
    TabControl *m_control;
};

namespace {

// The page's first control that takes the focus, in the order the controls were made.
void focusFirstControl(QWidget *page)
{
    const QList<QWidget *> controls = page->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (control->focusPolicy() & Qt::TabFocus) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace

TabControl::TabControl(QWidget *parent)
    : QWidget(parent)
    , m_headers(new TabHeaders(this))
{
    const auto addStep = [this](const QKeySequence &keys, int delta) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, delta] { step(delta); });
    };
    addStep(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    addStep(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    addStep(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1);
    addStep(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1);
    addStep(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

QWidget *TabControl::addPage(const QString &caption)
{
    auto *page = new QWidget(this);
    page->setGeometry(rect());
    page->setVisible(m_pages.isEmpty());
    m_pages.append(page);
    m_captions.append(caption);
    if (m_current < 0)
        m_current = 0;
    m_headers->raise();
    m_headers->setGeometry(0, 0, width(), headerRowsHeight());
    return page;
}

QRect TabControl::headerRect(int index) const
{
    const int row = index / TabsPerRow;
    const int column = index % TabsPerRow;
    const int left = width() * column / TabsPerRow;
    const int right = width() * (column + 1) / TabsPerRow;
    return {left, row * RowHeight, right - left, RowHeight};
}

int TabControl::headerRowsHeight() const
{
    return (int(m_pages.size()) + TabsPerRow - 1) / TabsPerRow * RowHeight;
}

void TabControl::setCurrentIndex(int index)
{
    if (index == m_current || index < 0 || index >= m_pages.size())
        return;
    // Keep the focus on the page rather than losing it with the page that is hidden.
    const bool focusOnPage = m_pages.at(m_current)->isAncestorOf(focusWidget());
    QWidget *page = m_pages.at(index);
    page->show();
    m_pages.at(m_current)->hide();
    m_current = index;
    if (focusOnPage)
        focusFirstControl(page);
    m_headers->update();
    update();
}

void TabControl::step(int delta)
{
    if (!m_pages.isEmpty())
        setCurrentIndex((m_current + delta + count()) % count());
}

void TabControl::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = QTabBar::RoundedNorth;
    frame.rect = rect().adjusted(0, headerRowsHeight(), 0, 0);
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}

void TabControl::resizeEvent(QResizeEvent *)
{
    for (QWidget *page : std::as_const(m_pages))
        page->setGeometry(rect());
    m_headers->setGeometry(0, 0, width(), headerRowsHeight());
}
