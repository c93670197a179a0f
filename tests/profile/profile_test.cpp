// SPDX-License-Identifier: MIT
// The robot profile without a window: its file read, refused and written, the shipped template,
// the limits a page breaks and the mirror arithmetic.
#include <gtest/gtest.h>

#include <fstream>

#include "src/profile/mirror.h"
#include "src/profile/profile_file.h"
#include "src/profile/profile_limits.h"
#include "tests/support/temp_dir.h"

using namespace kestrova;
using test::contentOf;
using test::replaced;

namespace {

// M5/M6 a plain pair, M7/M8 an inverted one, M21 an inverted centre servo.
const std::string kProfile = R"json({
  "version": 1,
  "name": "Wren",
  "motors": [
    {"motor": 5, "label": "M5(PB4)", "name": "left elbow", "group": "left arm", "side": "left", "min": 20, "home": 90, "max": 180, "partner": 6, "invert": false},
    {"motor": 6, "name": "right elbow", "side": "right", "min": 30, "home": 110, "partner": 5},
    {"motor": 7, "side": "left", "home": 60, "partner": 8, "invert": true},
    {"motor": 8, "side": "right", "home": 140, "max": 190, "partner": 7, "invert": true},
    {"motor": 21, "name": "waist", "min": 50, "max": 150, "invert": true},
    {"motor": 22, "min": 120}
  ]
})json";

RobotProfile wren() {
    const ReadProfile read = parseProfile(kProfile);
    EXPECT_TRUE(read.profile) << read.line << ": " << read.problem;
    return read.profile.value_or(RobotProfile{});
}

TEST(ProfileFile, ReadsEveryFieldAndFillsWhatIsMissing) {
    const RobotProfile profile = wren();
    EXPECT_EQ(profile.name, "Wren");
    EXPECT_EQ(profile.motors[4],
              (MotorProfile{"left elbow", "left arm", Side::Left, 20, 180, 90, 5, false}));
    EXPECT_EQ(profile.motors[5], (MotorProfile{"right elbow", "", Side::Right, 30, 200, 110, 4}));
    EXPECT_EQ(profile.motors[7], (MotorProfile{"", "", Side::Right, 0, 190, 140, 6, true}));
    EXPECT_EQ(profile.motors[0], MotorProfile{});
    EXPECT_EQ(profile.motors[21].home, 120) << "the default home, held within the limits";
    EXPECT_EQ(profile.motorText(4), "M5 left elbow");
    EXPECT_TRUE(profile.canMirror());
    EXPECT_FALSE(RobotProfile{}.canMirror());
}

TEST(ProfileFile, WritesTheSameBytesItReadsAndTheTemplateIsTheDefaults) {
    const std::string text = profileText(wren());
    // The header and motor 5's line are written as kProfile has them.
    const std::size_t m5 = kProfile.find("\n    {\"motor\": 5,");
    EXPECT_TRUE(text.starts_with(kProfile.substr(0, m5 + 1))) << text;
    EXPECT_NE(text.find(kProfile.substr(m5, kProfile.find('\n', m5 + 1) - m5 + 1)), text.npos);
    const test::TempDir dir;
    ASSERT_TRUE(writeProfileFile(dir / "wren.kprofile.json", wren(), test::noFlush));
    const LoadedProfile back = readProfileFile(dir / "wren.kprofile.json");
    EXPECT_EQ(back.profile, wren()) << back.problem;
    EXPECT_EQ(contentOf(dir / "wren.kprofile.json"), text);

    const std::filesystem::path shipped = KESTROVA_PROFILE_TEMPLATE;
    EXPECT_EQ(readProfileFile(shipped).profile, RobotProfile{});
    EXPECT_EQ(profileText(RobotProfile{}), contentOf(shipped));
}

// A malformed profile is refused with the line of the value at fault and the reason.
TEST(ProfileFile, RefusesWhatIsWrongNamingItsLine) {
    const auto in = [](const std::string& from, const std::string& to) {
        return replaced(kProfile, from, to);
    };
    const std::string m5 = "\"min\": 20, \"home\": 90";
    const std::vector<std::tuple<std::string, int, std::string>> cases{
        {in("\"Wren\",", "\"Wren\""), 4, "syntax error"},
        {"[]", 1, "not a robot profile"},
        {in("\"version\": 1,", ""), 1, "\"version\" is missing"},
        {in("\"version\": 1", "\"version\": 2"), 2, "format version 2 is not one"},
        {in("\"name\": \"Wren\"", "\"nmae\": 1"), 3, "unknown field \"nmae\""},
        {in("\"Wren\"", "\"W\\nren\""), 3, "\"name\" holds a control character"},
        {in("\"Wren\"", "7"), 3, "\"name\" must be text"},
        {"{\"version\": 1, \"motors\": {}}", 1, "\"motors\" must be a list"},
        {in("{\"motor\": 22, \"min\": 120}", "22"), 10, "a motor is an object"},
        {in("{\"motor\": 22, ", "{"), 10, "\"motor\" is missing"},
        {in("\"motor\": 22", "\"motor\": 23"), 10, "/motors/5/motor is 23, not a whole number"},
        {in("\"motor\": 22", "\"motor\": 6"), 10, "motor 6 is listed twice"},
        {in("M5(PB4)", "M6(PB5)"), 5, "the label of motor 5 is \"M5(PB4)\", not \"M6(PB5)\""},
        {in("\"min\": 120", "\"mni\": 120"), 10, "unknown field \"mni\""},
        {in("\"side\": \"left\"", "\"side\": \"center\""), 5, "\"side\" must be"},
        {in(m5, "\"min\": 201, \"home\": 90"), 5, "/motors/0/min is 201, not a whole number"},
        {in(m5, "\"min\": 20.5, \"home\": 90"), 5, "is 20.5, not a whole number 0 to 200"},
        {in(m5, "\"min\": 181, \"home\": 90"), 5, "min 181 is above max 180"},
        {in(m5, "\"min\": 91, \"home\": 90"), 5, "home 90 is outside min 91 to max 180"},
        {in("\"partner\": 5", "\"partner\": 6"), 6, "cannot be its own partner"},
        {in("\"partner\": 5", "\"partner\": null"), 5, "motor 5 and its partner motor 6 must"},
        {in("\"right\", \"min\": 30", "\"left\", \"min\": 30"), 5, "one on the left, one on"},
        {in("\"side\": \"left\", \"home\": 60", "\"home\": 60"), 7, "one on the left"},
        {in("\"partner\": 7, \"invert\": true", "\"partner\": 7"), 7, "agree on \"invert\""},
        {in("\"invert\": true", "\"invert\": 1"), 7, "\"invert\" must be true or false"},
    };
    for (const auto& [text, line, reason] : cases) {
        const ReadProfile read = parseProfile(text);
        EXPECT_FALSE(read.profile) << reason;
        EXPECT_EQ(read.line, line) << reason;
        EXPECT_NE(read.problem.find(reason), std::string::npos) << read.problem;
    }
    const test::TempDir dir;
    std::ofstream(dir / "bad.kprofile.json") << "{\n\"version\": 1,\n\"motors\": [{\"motor\": 0}]}";
    EXPECT_EQ(readProfileFile(dir / "bad.kprofile.json").problem,
              (dir / "bad.kprofile.json").string() +
                  ":3: /motors/0/motor is 0, not a whole number 1 to 22");
    EXPECT_EQ(readProfileFile(dir.path()).problem, dir.path().string() + ": cannot be read");
}

TEST(ProfileLimits, NamesTheValuesOfPlayedStepsOutsideTheLimits) {
    const RobotProfile profile = wren();
    PageRecord page = defaultPageRecord();  // M22 at 100 breaks its limit 120 in every step
    page.enableStep = 3;
    page.position[3 * kMotorCount + 4] = 0;
    page.position[3 * kMotorCount + 21] = 120;
    page.position[1 * kMotorCount + 7] = 191;
    page.position[5 * kMotorCount + 4] = 0;  // never played
    const std::vector<LimitBreach> breaches = limitBreaches(profile, page);
    EXPECT_EQ(breaches, (std::vector<LimitBreach>{{0, 21, 100, 120},
                                                  {1, 7, 191, 190},
                                                  {1, 21, 100, 120},
                                                  {2, 21, 100, 120},
                                                  {3, 4, 0, 20}}));
    EXPECT_EQ(sendAnywayQuestion(profile, breaches.back()),
              "Step 3: M5 left elbow is 0, below its limit 20. Send anyway?");
    EXPECT_EQ(breachText(profile, breaches[1]), "M8 is 191, above its limit 190");
    page.enableStep = 200;  // a loaded page's, beyond the last step
    EXPECT_EQ(limitBreaches(profile, page).size(), 10u);
    EXPECT_TRUE(limitBreaches(RobotProfile{}, page).empty());

    StepPositions step = profile.homePose();
    EXPECT_EQ(refusalOf(profile, step), std::nullopt);
    step[20] = 151;
    EXPECT_EQ(refusalOf(profile, step), "M21 waist: 151 is outside its limits 50 to 150.");
    EXPECT_EQ(clampedText(profile, {4}), "M5 left elbow was held at its limit.");
    EXPECT_EQ(clampedText(profile, {4, 6, 20}),
              "M5 left elbow, M7 and M21 waist were held at their limits.");
}

TEST(Mirror, PairsTakeTheirPartnersOffsetAndMirroringTwiceGivesTheStepBack) {
    const RobotProfile profile = wren();
    StepPositions step = profile.homePose();
    step[0] = 33;   // no partner: stays
    step[4] = 100;  // left elbow 10 above its home 90
    step[5] = 80;   // right elbow 30 below its home 110
    step[6] = 75;   // 15 above home 60, inverted
    step[7] = 120;  // 20 below home 140, inverted
    step[20] = 70;  // waist 30 below home 100, reflected
    StepPositions expected = step;
    expected[4] = 60, expected[5] = 120, expected[6] = 80, expected[7] = 125, expected[20] = 130;
    const MirroredStep once = mirrored(profile, step, MirrorCommand::MirrorStep);
    EXPECT_EQ(once.positions, expected);
    EXPECT_TRUE(once.clamped.empty());
    EXPECT_EQ(mirrored(profile, once.positions, MirrorCommand::MirrorStep).positions, step);
    // A copy writes one side's mirror onto the other and leaves the centre servo as it is.
    StepPositions toRight = step, toLeft = step;
    toRight[5] = 120, toRight[7] = 125;
    toLeft[4] = 60, toLeft[6] = 80;
    EXPECT_EQ(mirrored(profile, step, MirrorCommand::CopyLeftToRight).positions, toRight);
    EXPECT_EQ(mirrored(profile, step, MirrorCommand::CopyRightToLeft).positions, toLeft);

    step[4] = 15;    // 75 below home: the right elbow would be at 35, within its 30
    step[5] = 200;   // 90 above: the left elbow would be at 180, its limit
    step[6] = 0;     // 60 below, inverted: 200, beyond M8's 190
    step[20] = 190;  // 90 above, reflected: 10, below the waist's 50
    const MirroredStep clamped = mirrored(profile, step, MirrorCommand::MirrorStep);
    const StepPositions& c = clamped.positions;
    EXPECT_EQ(std::tuple(c[5], c[4], c[7], c[20]), std::tuple(35, 180, 190, 50));
    EXPECT_EQ(clamped.clamped, (std::vector<std::size_t>{7, 20}));
}

}  // namespace
