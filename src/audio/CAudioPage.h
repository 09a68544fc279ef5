#pragma once

#include "audio/AudioPageModel.h"

#include <QWidget>
#include <array>

class QComboBox;
class QPushButton;

namespace orvanta {

// The "Audio" settings page: microphone, speaker and ringer device, each
// list starting with "System default", and its "Ok", "Apply" and "Cancel"
// buttons. It fits in the settings sheet or stands alone; the host closes
// it on finished().
class CAudioPage : public QWidget {
    Q_OBJECT

public:
    explicit CAudioPage(AudioPageModel& model, QWidget* parent = nullptr);

    QComboBox* deviceList(AudioRole role) const { return lists_[static_cast<std::size_t>(role)]; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* applyButton() const { return apply_; }
    QPushButton* cancelButton() const { return cancel_; }

signals:
    void finished(bool confirmed);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refresh();

    AudioPageModel& model_;
    std::array<QComboBox*, 3> lists_{};
    QPushButton* ok_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}
