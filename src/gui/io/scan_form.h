#pragma once
#include <QDialog>

#include <functional>
#include <string>

class QRadioButton;
class QPushButton;

namespace meshforge {
struct Ui;
}

namespace meshforge::gui {

// "Scan DXF": after a DXF file has been scanned, the user chooses which of the four kinds of
// entity to import. The four choices sit in three groups but act as one.
class TScanForm : public QDialog {
    Q_OBJECT
  public:
    enum class Kind { Point, Vertex, Line, Face };
    struct Counts {
        int Point = 0, Vertex = 0, Line = 0, Face = 0;
    };

    explicit TScanForm(Ui& ui, QWidget* parent = nullptr);

    // The scan's result: the caption and one button per kind, enabled with its count when
    // present, else unchecked and disabled with a zero count.
    void ShowScan(const std::string& caption, const Counts& counts);
    // Runs the import of one kind; false when it failed, so that the dialog stays open.
    void SetImporter(std::function<bool(Kind)> importer) { importer_ = std::move(importer); }

    QRadioButton* PRadioButton;
    QRadioButton* VRadioButton;
    QRadioButton* LRadioButton;
    QRadioButton* FRadioButton;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    void OKButtonClick();
    void CancelButtonClick();

  private:
    void Choose(QRadioButton* chosen);

    Ui& ui_;
    std::function<bool(Kind)> importer_;
};

} // namespace meshforge::gui
