#pragma once

#include <QDialog>
#include <QPointer>

#include <array>

class CProgramDoc;
class QComboBox;
class QLabel;

// The Optional Features dialog: ten lists for the radio-wide options, read from the image when it
// opens and all written back on OK. The main frame keeps one and runs it again on every use.
class COptionalFeaturesDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kOptionCount = 10;
    static constexpr int kHelpTopic = 32788;

    explicit COptionalFeaturesDlg(QWidget* parent = nullptr);

    // Fills the lists in the running language, selects what the document's image holds and runs
    // modally. OK stores every list into the image.
    int Run(CProgramDoc* document);
    void accept() override;

    // The list of an option, in dialog order (Time Out Time first).
    QComboBox* Box(int option) const { return m_Boxes.at(static_cast<std::size_t>(option)); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointer<CProgramDoc> m_pDocument;
    std::array<QLabel*, kOptionCount> m_Labels {};
    std::array<QComboBox*, kOptionCount> m_Boxes {};
};
