// SPDX-License-Identifier: MIT
#include "src/model/motion_page.h"

#include <algorithm>
#include <optional>

#include "src/model/page_file.h"

using kestrova::kMotorCount;
using kestrova::kStepCount;

namespace {

// Only the low byte of a step index counts; nullopt for steps the page does not have.
std::optional<std::size_t> stepIndex(unsigned step) {
    const auto low = static_cast<std::uint8_t>(step);
    if (low >= kStepCount) {
        return std::nullopt;
    }
    return low;
}

}  // namespace

CMotionPage::CMotionPage() {
    reset();
}

void CMotionPage::reset() {
    record = kestrova::defaultPageRecord();
}

kestrova::PageRecord CMotionPage::getRecord() const {
    return record;
}

void CMotionPage::setRecord(const kestrova::PageRecord& replacement) {
    record = replacement;
}

CMotionPage::Byte CMotionPage::readStepValue(const kestrova::StepValues& values,
                                             unsigned step) const {
    const auto s = stepIndex(step);
    return s ? values[*s] : 0;
}

void CMotionPage::writeStepValue(kestrova::StepValues& values, unsigned step, Byte value) {
    if (const auto s = stepIndex(step); s) {
        values[*s] = value;
    }
}

// The bulk ACC and Rate accessors: steps 0 to 7, one byte each, through the single-step ones.
void CMotionPage::readAllSteps(StepField field, std::span<Byte, kStepCount> out) const {
    for (unsigned step = 0; step < kStepCount; ++step) {
        out[step] = readStepValue(record.*field, step);
    }
}

void CMotionPage::writeAllSteps(StepField field, std::span<const Byte, kStepCount> in) {
    for (unsigned step = 0; step < kStepCount; ++step) {
        writeStepValue(record.*field, step, in[step]);
    }
}

CMotionPage::Byte CMotionPage::getRate(unsigned step) const {
    return readStepValue(record.rate, step);
}

void CMotionPage::getAllRates(std::span<Byte, kStepCount> out) const {
    readAllSteps(&kestrova::PageRecord::rate, out);
}

void CMotionPage::setRate(unsigned step, Byte value) {
    writeStepValue(record.rate, step, value);
}

void CMotionPage::setAllRates(std::span<const Byte, kStepCount> in) {
    writeAllSteps(&kestrova::PageRecord::rate, in);
}

CMotionPage::Byte CMotionPage::getAcc(unsigned step) const {
    return readStepValue(record.acc, step);
}

void CMotionPage::getAllAcc(std::span<Byte, kStepCount> out) const {
    readAllSteps(&kestrova::PageRecord::acc, out);
}

void CMotionPage::setAcc(unsigned step, Byte value) {
    writeStepValue(record.acc, step, value);
}

void CMotionPage::setAllAcc(std::span<const Byte, kStepCount> in) {
    writeAllSteps(&kestrova::PageRecord::acc, in);
}

void CMotionPage::getStepPositions(unsigned step, std::span<Byte, kMotorCount> out) const {
    const auto s = stepIndex(step);
    if (!s) {
        std::fill(out.begin(), out.end(), Byte{0});
        return;
    }
    const auto row = record.position.begin() + static_cast<std::ptrdiff_t>(*s * kMotorCount);
    std::copy_n(row, kMotorCount, out.begin());
}

void CMotionPage::getAllPositions(std::span<Byte, kestrova::kPositionCount> out) const {
    for (unsigned step = 0; step < kStepCount; ++step) {
        getStepPositions(step, out.subspan(step * kMotorCount).first<kMotorCount>());
    }
}

void CMotionPage::setStepPositions(unsigned step, std::span<const Byte, kMotorCount> in) {
    if (const auto s = stepIndex(step); s) {
        const auto row = record.position.begin() + static_cast<std::ptrdiff_t>(*s * kMotorCount);
        std::copy(in.begin(), in.end(), row);
    }
}

void CMotionPage::setAllPositions(std::span<const Byte, kestrova::kPositionCount> in) {
    for (unsigned step = 0; step < kStepCount; ++step) {
        setStepPositions(step, in.subspan(step * kMotorCount).first<kMotorCount>());
    }
}

CMotionPage::Byte CMotionPage::getNextPage() const {
    return record.nextPage;
}

void CMotionPage::setNextPage(Byte value) {
    record.nextPage = value;
}

CMotionPage::Byte CMotionPage::getEnableStep() const {
    return record.enableStep;
}

void CMotionPage::setEnableStep(Byte value) {
    record.enableStep = value;
}

CMotionPage::Byte CMotionPage::getRepeat() const {
    return record.repeat;
}

void CMotionPage::setRepeat(Byte value) {
    record.repeat = value;
}

void CMotionPage::getPageName(std::span<Byte, kestrova::kPageNameSize> out) const {
    std::copy(record.pageName.begin(), record.pageName.end(), out.begin());
}

void CMotionPage::setPageName(std::span<const Byte, kestrova::kPageNameSize> in) {
    std::copy(in.begin(), in.end(), record.pageName.begin());
}

int CMotionPage::saveToFile(const std::filesystem::path& path, kestrova::FlushToDisk flush) const {
    return kestrova::writePageFile(path, record, flush) ? 1 : 0;
}

int CMotionPage::loadFromFile(const std::filesystem::path& path) {
    const std::optional<kestrova::PageRecord> loaded = kestrova::readPageFile(path);
    if (!loaded) {
        return 0;
    }
    record = *loaded;
    return 1;
}
