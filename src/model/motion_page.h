// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "src/model/page_file.h"
#include "src/model/page_record.h"

// The page being edited. Step indexes are taken modulo 256 (only their low byte counts); steps
// outside 0..7 read as 0 and store nothing.
class CMotionPage {
  public:
    using Byte = std::uint8_t;

    CMotionPage();

    void reset();
    kestrova::PageRecord getRecord() const;
    // The page itself, for views that paint it; valid as long as this object.
    const kestrova::PageRecord& recordRef() const { return record; }
    void setRecord(const kestrova::PageRecord& record);

    Byte getRate(unsigned step) const;
    void getAllRates(std::span<Byte, kestrova::kStepCount> out) const;
    void setRate(unsigned step, Byte value);
    void setAllRates(std::span<const Byte, kestrova::kStepCount> in);

    Byte getAcc(unsigned step) const;
    void getAllAcc(std::span<Byte, kestrova::kStepCount> out) const;
    void setAcc(unsigned step, Byte value);
    void setAllAcc(std::span<const Byte, kestrova::kStepCount> in);

    void getStepPositions(unsigned step, std::span<Byte, kestrova::kMotorCount> out) const;
    void getAllPositions(std::span<Byte, kestrova::kPositionCount> out) const;
    void setStepPositions(unsigned step, std::span<const Byte, kestrova::kMotorCount> in);
    void setAllPositions(std::span<const Byte, kestrova::kPositionCount> in);

    Byte getNextPage() const;
    void setNextPage(Byte value);
    Byte getEnableStep() const;
    void setEnableStep(Byte value);
    Byte getRepeat() const;
    void setRepeat(Byte value);
    void getPageName(std::span<Byte, kestrova::kPageNameSize> out) const;
    void setPageName(std::span<const Byte, kestrova::kPageNameSize> in);

    Byte getPageNum() const { return record.pageNum; }
    void setPageNum(Byte value) { record.pageNum = value; }

    // 1 on success, 0 when the file could not be written or read; a failed load leaves the
    // page as it was. `flush` makes the saved file durable.
    int saveToFile(const std::filesystem::path& path, kestrova::FlushToDisk flush) const;
    int loadFromFile(const std::filesystem::path& path);

  private:
    Byte readStepValue(const kestrova::StepValues& values, unsigned step) const;
    void writeStepValue(kestrova::StepValues& values, unsigned step, Byte value);
    using StepField = kestrova::StepValues kestrova::PageRecord::*;
    void readAllSteps(StepField field, std::span<Byte, kestrova::kStepCount> out) const;
    void writeAllSteps(StepField field, std::span<const Byte, kestrova::kStepCount> in);

    kestrova::PageRecord record{};
};
