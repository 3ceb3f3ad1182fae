#pragma once

#include <cstdint>

#include "view/key_dispatch.h"

namespace sorvel {

class Document;

// ScoreCommands on a Document.
class DocumentCommands final : public ScoreCommands {
  public:
    explicit DocumentCommands(Document& document) : doc_(document) {}

    ScoreCell entryCell() const override;
    void writeEntryCell(ScoreCell cell) override;
    void redrawEntry() override;
    float entryFrequency(std::int64_t p) const override;
    void playTone(float frequency, float seconds) override;
    void stepEntryPitch(std::int64_t row) override;
    void setEntryValue(std::int64_t row, std::int64_t column) override;
    void toggleTriplet() override;
    void toggleTie() override;
    void btnUPDate() override;
    void btnIns() override;
    void btnADD() override;
    void btnDel() override;
    Selection selection() const override;
    void selCell(std::int64_t column, std::int64_t row) override;
    void selCellTo(std::int64_t column, std::int64_t row) override;
    std::int64_t staffCellMax(std::int64_t row) const override;
    void setStaffSelectedCell(std::int64_t row, std::int64_t column) override;
    void redrawStaff(std::int64_t row) override;
    std::int64_t cellCount() const override;
    void endEditing() override;

  private:
    Document& doc_;
};

}  // namespace sorvel
