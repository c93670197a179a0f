// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>

#include "src/model/page_file.h"
#include "src/model/page_file_dialogs.h"
#include "src/model/page_record.h"

// The page being edited: the one store of page data in the program. Step indexes are taken
// modulo 256 (only their low byte counts); steps outside 0..7 read as 0 and store nothing.
class CMotionPage {
  public:
    using Byte = std::uint8_t;

    CMotionPage();

    void reset();
    kestrova::PageRecord getRecord() const;
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

    // 1 when no reset or file transfer is under way. Such work never calls an accessor and
    // runs on the one thread that uses the page, so accessors always find 1; if one ever
    // found 0 it would leave the page alone rather than touch a record in transfer.
    int checkNotBusy() const { return busy == 0 ? 1 : 0; }

    Byte getPageNum() const { return record.pageNum; }
    void setPageNum(Byte value) { record.pageNum = value; }

    // 1 on success or when the user cancels the dialog; 0 after a failure, which has been
    // reported through the dialogs as "can't save file!" or "can't load file!".
    // `flush` makes the saved file durable.
    int saveToFile(kestrova::PageFileDialogs& dialogs, kestrova::FlushToDisk flush);
    int loadFromFile(kestrova::PageFileDialogs& dialogs);

  private:
    class BusyScope;

    Byte readStepValue(const kestrova::StepValues& values, unsigned step) const;
    void writeStepValue(kestrova::StepValues& values, unsigned step, Byte value);
    using StepField = kestrova::StepValues kestrova::PageRecord::*;
    void readAllSteps(StepField field, std::span<Byte, kestrova::kStepCount> out) const;
    void writeAllSteps(StepField field, std::span<const Byte, kestrova::kStepCount> in);

    kestrova::PageRecord record{};
    int busy = 0;
};

// The program's one page.
extern CMotionPage motionPage;
