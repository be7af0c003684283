#pragma once
#include "model/project.h"
#include "texture/image_files.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QTableView;

namespace meshforge {
struct Ui;
}

namespace meshforge::gui {

class TAverageForm;
class TextureGridModel;
class TTextureViewForm;
class TTransForm;

// "Load / Remove Texture Files": the texture library as a grid, with loading, replacing,
// removing, the mask and background-colour dialogs and the bitmap preview. Modeless from the
// main window, modal from the Assign Texture dialog. The grid's rows are made when shown, so
// a library of 998 entries opens at once.
class TTextureform : public QDialog {
    Q_OBJECT
  public:
    // `run` runs a command as the main window does (errors shown, windows refreshed, view
    // redrawn); `rebuild` draws the view now, which rebuilds its texture objects.
    TTextureform(Project& project, ImageFiles& images, Ui& ui,
                 std::function<void(const std::function<void()>&)> run,
                 std::function<void()> rebuild, QWidget* parent = nullptr);

    // Shows the window beside the editor (run as a command); ExecModal waits until it is
    // closed.
    void ShowModeless();
    void ExecModal();
    // The Project may have changed under the window.
    void Refresh();

    QTableView* StringGrid1;
    QPushButton* LoadTexButton;
    QPushButton* ReplaceButton;
    QPushButton* TransButton;
    QPushButton* AverageButton;
    QPushButton* RemoveTexButton;
    QPushButton* ViewTexButton;
    QPushButton* CancelTexButton;
    TTransForm* TransForm;
    TAverageForm* AverageForm;
    TTextureViewForm* PreviewForm;

  protected:
    void done(int result) override;

  private:
    void SelectRow(int row);
    void LoadTexButtonClick();
    void ReplaceButtonClick();
    void TransButtonClick();
    void AverageButtonClick();
    void RemoveTexButtonClick();
    void ViewTexButtonClick();
    // The window is disabled while the view rebuilds its texture objects.
    void Rebuild();
    bool HasCurrent() const;
    std::optional<std::string> ChooseBitmapFile();

    Project& project_;
    ImageFiles& images_;
    Ui& ui_;
    std::function<void(const std::function<void()>&)> run_;
    std::function<void()> rebuild_;
    TextureGridModel* model_;
    uint64_t shownTextures_ = ~uint64_t(0);
};

} // namespace meshforge::gui
