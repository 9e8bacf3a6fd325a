#pragma once

// A tab control whose headers stand four to a row, in as many rows as they need, drawn
// with the platform style. QTabWidget has a single row only. The rows stay where they are
// whichever page is chosen, and every page covers the whole control, so a page's
// coordinates are the control's; its controls must stand below the header rows.

#include <QWidget>

class TabHeaders;

class TabControl : public QWidget
{
    Q_OBJECT

public:
    static constexpr int TabsPerRow = 4;
    static constexpr int RowHeight = 20;

    explicit TabControl(QWidget *parent = nullptr);

    QWidget *addPage(const QString &caption);
    int count() const { return int(m_pages.size()); }
    int currentIndex() const { return m_current; }
    QWidget *page(int index) const { return m_pages.at(index); }
    QString caption(int index) const { return m_captions.at(index); }
    // The header of a page, in the control's coordinates.
    QRect headerRect(int index) const;
    int headerRowsHeight() const;

    void setCurrentIndex(int index);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void step(int delta);

    TabHeaders *m_headers = nullptr;
    QList<QWidget *> m_pages;
    QStringList m_captions;
    int m_current = -1;
};
