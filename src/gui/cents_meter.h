#pragma once

#include <QWidget>
#include <optional>

namespace sorvel::gui {

// A bar from -50 to +50 cents with the in-tune zone shaded and a needle at the reading;
// without a reading only the scale shows.
class CentsMeter : public QWidget {
    Q_OBJECT
  public:
    explicit CentsMeter(float inTuneCents, QWidget* parent = nullptr);

    void setCents(std::optional<float> cents);
    std::optional<float> cents() const { return cents_; }

    // The x coordinate of a cents value inside the widget (clamped to the scale).
    double xOf(float cents) const;

    QSize sizeHint() const override { return {240, 44}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    float inTune_;
    std::optional<float> cents_;
};

}  // namespace sorvel::gui
