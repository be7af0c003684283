#pragma once
// A bitmap stretched over the whole window: the library's preview (modeless) and the
// picking of texture coordinates (modal, its width kept a whole multiple of its height).
#include <QDialog>
#include <QImage>

#include <functional>
#include <string>

class QLabel;

namespace meshforge::gui {

class TTextureViewForm : public QDialog {
    Q_OBJECT
  public:
    enum class Use { Preview, Picking };
    explicit TTextureViewForm(Use use, QWidget* parent = nullptr);

    // The preview: shown beside the library window.
    void ShowPreview(const QImage& image);
    // Picking: modal; `caption` gives the title for a mouse position, `press` handles a press
    // and says whether the window closes. Positions are client pixels, with the client size.
    using Caption = std::function<std::string(int x, int y, int width, int height)>;
    using Press = std::function<bool(int x, int y, int width, int height)>;
    void Pick(const QImage& image, Caption caption, Press press);

    const QImage& Image() const { return image_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void SetImage(const QImage& image);

    QLabel* picture_;
    QImage image_;
    Caption caption_;
    Press press_;
    bool picking_ = false;
};

} // namespace meshforge::gui
