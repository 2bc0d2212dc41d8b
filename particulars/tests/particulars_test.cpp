// The particulars: the bounds every entry is held to, the defaults a design
// gets (checked against the geometry they must lie on), and the resolution
// the drawings read.
#include "particulars/particulars.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/testing/worked_example.h"

namespace wormgear {
namespace {

using Id = ParticularId;
using P = ParticularProblem::Kind;

std::string Repeat(const std::string& unit, int times) {
    std::string text;
    for (int n = 0; n < times; ++n) text += unit;
    return text;
}

TWormDesign WorkedExampleRecord() {
    TWormDesign design;
    const CalculationOutcome outcome = Calculate(WorkedExampleInputs(), false, WorkedExampleCoefficients(), '.',
                                                 design);
    EXPECT_TRUE(outcome.succeeded());
    return outcome.design;
}

TEST(Particulars, TableIsInTheOrderOfItsIdsAndNamesEachPart) {
    ASSERT_EQ(ParticularDescriptions().size(), static_cast<std::size_t>(kParticularCount));
    for (int n = 0; n < kParticularCount; ++n) {
        const ParticularDescription& d = ParticularDescriptions()[static_cast<std::size_t>(n)];
        EXPECT_EQ(static_cast<int>(d.id), n);
        // A part's entry names its part, so a message or a design file's row
        // is clear on its own.
        if (d.piece) {
            const char* part = *d.piece == Piece::Worm ? "蜗杆" : *d.piece == Piece::Wheel ? "蜗轮" : "滚刀";
            EXPECT_EQ(std::string(d.name).rfind(part, 0), 0u) << d.name;
        }
    }
    EXPECT_EQ(static_cast<int>(Id::HobKeywayDepth), kParticularCount - 1);
}

struct CheckCase {
    Id id;
    std::string text;
    char separator;
    std::optional<P> expected;
    int limit;
    int line;
};

TEST(Particulars, EachEntryIsHeldToItsPlaceAndNothingIsCut) {
    const std::string forty = Repeat("蜗", 40);
    const std::string twelveLines = Repeat("1. 未注倒角 C1。\n", 11) + "12. 末行";
    const CheckCase cases[] = {
        {Id::Designer, "", '.', std::nullopt, 0, 0},
        {Id::Designer, forty, '.', std::nullopt, 0, 0},  // a Chinese character counts one
        {Id::Designer, forty + "a", '.', P::TooLong, kMaxLineCharacters, 0},
        {Id::WormMaterial, Repeat("a", 40), '.', std::nullopt, 0, 0},
        {Id::WormMaterial, Repeat("a", 41), '.', P::TooLong, kMaxLineCharacters, 0},
        {Id::HobDrawingNumber,
         "WG\x01"
         "01",
         '.', P::InvalidText, 0, 0},
        {Id::HobDrawingNumber, "a\nb", '.', P::InvalidText, 0, 0},  // one line only
        {Id::Company, "\xFF", '.', P::InvalidText, 0, 0},
        {Id::WormRequirements, twelveLines, '.', std::nullopt, 0, 0},
        {Id::WormRequirements, twelveLines + "\n", '.', std::nullopt, 0, 0},  // a closing line break starts no line
        {Id::WormRequirements, twelveLines + "\n13.", '.', P::TooManyLines, kMaxRequirementLines, 0},
        {Id::WheelRequirements, "1. a\r\n2. " + Repeat("齿", 57), '.', std::nullopt, 0, 0},  // 60 characters
        {Id::WheelRequirements, "1. a\n2. " + Repeat("齿", 58), '.', P::LineTooLong, kMaxRequirementLineCharacters, 2},
        {Id::WheelRequirements, "1. a\t", '.', P::InvalidText, 0, 0},
        {Id::WormLeftShaftDiameter, "38", '.', std::nullopt, 0, 0},
        {Id::WormLeftShaftDiameter, "0", '.', std::nullopt, 0, 0},  // no shaft
        {Id::WormLeftShaftDiameter, "37,5", ',', std::nullopt, 0, 0},
        {Id::WormLeftShaftDiameter, "37,5", '.', P::NotALength, 0, 0},
        {Id::WormLeftShaftDiameter, "-1", '.', P::NotALength, 0, 0},
        {Id::WheelKeywayWidth, "十", '.', P::NotALength, 0, 0},
        {Id::WheelKeywayWidth, Repeat("1", 21), '.', P::TooLong, kMaxLengthCharacters, 0},
    };
    for (const CheckCase& c : cases) {
        Particulars particulars;
        Text(particulars, c.id) = c.text;
        const auto problem = CheckParticulars(particulars, c.separator);
        ASSERT_EQ(problem.has_value(), c.expected.has_value()) << Describe(c.id).name << " " << c.text;
        if (!problem) continue;
        EXPECT_EQ(problem->id, c.id);
        EXPECT_EQ(problem->kind, *c.expected) << c.text;
        EXPECT_EQ(problem->limit, c.limit) << c.text;
        EXPECT_EQ(problem->line, c.line) << c.text;
    }
}

TEST(Particulars, TheFirstRefusedEntryInTheTablesOrderIsNamed) {
    Particulars particulars;
    Text(particulars, Id::HobKeywayDepth) = "x";
    Text(particulars, Id::WormMaterial) = Repeat("a", 41);
    const auto problem = CheckParticulars(particulars, '.');
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->id, Id::WormMaterial);
}

TEST(Particulars, DrawingNumbersFollowTheDesignFilesName) {
    EXPECT_EQ(DefaultDrawingNumber(Piece::Worm, "pair.cqb"), "pair-01");
    EXPECT_EQ(DefaultDrawingNumber(Piece::Wheel, "pair.cqb"), "pair-02");
    EXPECT_EQ(DefaultDrawingNumber(Piece::Hob, "pair.v2.cqb"), "pair.v2-03");
    EXPECT_EQ(DefaultDrawingNumber(Piece::Hob, ""), "WG-03");
    EXPECT_EQ(DefaultDrawingNumber(Piece::Worm, ".cqb"), ".cqb-01");  // a name that is all extension keeps it
}

TEST(Particulars, DefaultBodiesLieOnTheGeometryTheyAreDrawnFrom) {
    const TWormDesign d = WorkedExampleRecord();
    const auto value = [&](Id id) {
        const auto v = DefaultLength(id, d);
        EXPECT_TRUE(v) << Describe(id).name;
        return v.value_or(NAN);
    };
    // The shoulders carry the tip at the end of the working length: their
    // rim lies on the tip arc of radius Ra1 about (0, A + E).
    const double shoulder = value(Id::WormShoulderDiameter) / 2;
    const double half = d.WormWorkingLength / 2;
    EXPECT_NEAR(std::hypot(half, d.CentreDistance + d.TipArcEccentricity - shoulder), d.WormTipArcRadius, 1e-9);
    // The hob's hub the same on its body's tip arc, over its effective length.
    const double hub = value(Id::HobHubDiameter) / 2;
    EXPECT_NEAR(std::hypot(d.HobEffectiveLength / 2, d.CentreDistance + d.TipArcEccentricity - hub),
                d.HobBodyTipArcRadius, 1e-9);
    // The shaft 0.55 of the smaller of the throat's tip radius and its root
    // radius / 0.9, across.
    const double throatTip = d.CentreDistance + d.TipArcEccentricity - d.WormTipArcRadius;
    const double throatRoot = d.CentreDistance - d.WormRootArcRadius;
    EXPECT_NEAR(value(Id::WormLeftShaftDiameter), 1.1 * std::min(throatTip, throatRoot / 0.9), 1e-9);
    EXPECT_EQ(value(Id::WormLeftShaftDiameter), value(Id::WormRightShaftDiameter));
    EXPECT_NEAR(value(Id::WormLeftShaftLength), 0.6 * d.WormWorkingLength, 1e-12);
    EXPECT_EQ(value(Id::WormRightShoulderLength), d.ShaftShoulder);
    // The hob's bore 0.45 of its throat tip radius, across.
    EXPECT_NEAR(value(Id::HobBoreDiameter), 0.9 * (d.CentreDistance + d.TipArcEccentricity - d.HobBodyTipArcRadius),
                1e-9);
    EXPECT_NEAR(value(Id::HobHubLength), 2 * d.TransverseModule, 1e-12);
    // The wheel from the bore out: bore < hub < rim inside < root circle,
    // the web thinner than the rim, the hub as long as the rim is wide.
    const double root = d.WheelPitchDiameter - 2 * d.Dedendum;
    EXPECT_LT(value(Id::WheelBoreDiameter), value(Id::WheelHubDiameter));
    EXPECT_LT(value(Id::WheelHubDiameter), value(Id::WheelRimInsideDiameter));
    EXPECT_NEAR(value(Id::WheelRimInsideDiameter), root - 4 * d.TransverseModule, 1e-9);
    EXPECT_LT(value(Id::WheelWebThickness), d.RimWorkingWidth);
    EXPECT_EQ(value(Id::WheelHubLength), d.RimWorkingWidth);
    // Keyways are not drawn today: no default.
    for (Id id : {Id::WormKeywayWidth, Id::WormKeywayDepth, Id::WormKeywayLength, Id::WheelKeywayWidth,
                  Id::WheelKeywayDepth, Id::HobKeywayWidth, Id::HobKeywayDepth})
        EXPECT_FALSE(DefaultLength(id, d)) << Describe(id).name;
}

TEST(Particulars, AWheelWithoutRoomForAWebIsAPlainDiscOnItsBore) {
    // Pitch radius 50, root 30, rim inside 30 - 2 * 10 = 10 below the hub's
    // 0.35 * 50: the drawing makes the wheel a disc on a bore of min(9, 15).
    TWormDesign d;
    d.WheelPitchDiameter = 100;
    d.Dedendum = 20;
    d.TransverseModule = 10;
    d.RimWorkingWidth = 30;
    EXPECT_EQ(DefaultLength(Id::WheelBoreDiameter, d), 18);
    EXPECT_EQ(DefaultLength(Id::WheelHubDiameter, d), 18);
    EXPECT_EQ(DefaultLength(Id::WheelRimInsideDiameter, d), 18);
    EXPECT_EQ(DefaultLength(Id::WheelWebThickness, d), 30);
}

TEST(Particulars, ADesignWithoutParticularsResolvesToItsDefaultsNoneSetByTheUser) {
    const TWormDesign d = WorkedExampleRecord();
    const ShopParticulars shop = ResolveParticulars({}, d, "pair.cqb", "2024-05-01", '.');
    EXPECT_EQ(shop.date.text, "2024-05-01");
    EXPECT_FALSE(shop.date.userSet);
    EXPECT_EQ(shop.designer.text, "");
    for (const Piece piece : kPieces) {
        const PieceParticulars& p = shop.piece(piece);
        EXPECT_EQ(p.drawingNumber.text, DefaultDrawingNumber(piece, "pair.cqb"));
        EXPECT_FALSE(p.drawingNumber.userSet);
        EXPECT_EQ(p.material.text, "");  // never an invented material
        EXPECT_EQ(p.heatTreatment.text, "");
        EXPECT_FALSE(p.requirementsUserSet);
        ASSERT_EQ(p.requirements.size(), DefaultRequirementLines(piece).size());
        for (std::size_t n = 0; n < p.requirements.size(); ++n) {
            EXPECT_EQ(p.requirements[n], DefaultRequirementLines(piece)[n]);
            EXPECT_EQ(p.requirements[n].rfind(std::to_string(n + 1) + ". ", 0), 0u);  // numbered
        }
    }
    EXPECT_EQ(shop.piece(Piece::Worm).mateDrawingNumber, "pair-02");
    EXPECT_EQ(shop.piece(Piece::Wheel).mateDrawingNumber, "pair-01");
    EXPECT_EQ(shop.piece(Piece::Hob).mateDrawingNumber, "pair-02");
    EXPECT_EQ(shop.worm.leftShaftLength.value, DefaultLength(Id::WormLeftShaftLength, d));
    EXPECT_FALSE(shop.worm.leftShaftLength.userSet);
    EXPECT_EQ(shop.worm.leftShaftLength.text, DefaultLengthText(*shop.worm.leftShaftLength.value, '.'));
    EXPECT_FALSE(shop.worm.keywayWidth.value);
    EXPECT_EQ(shop.worm.keywayWidth.text, "");
}

TEST(Particulars, WhatTheUserSetIsTakenAsTypedAndTheMatesFollowIt) {
    const TWormDesign d = WorkedExampleRecord();
    Particulars given;
    Text(given, Id::WheelDrawingNumber) = "QE-2024-17";
    Text(given, Id::WormMaterial) = "20CrMnTi";
    Text(given, Id::Date) = "2024年5月";
    Text(given, Id::HobRequirements) = "1. 见工艺卡。\n";
    Text(given, Id::WormLeftShaftDiameter) = "45,50";
    Text(given, Id::WheelKeywayWidth) = "14";
    const ShopParticulars shop = ResolveParticulars(given, d, "", "2024-05-01", ',');
    EXPECT_EQ(shop.piece(Piece::Wheel).drawingNumber.text, "QE-2024-17");
    EXPECT_TRUE(shop.piece(Piece::Wheel).drawingNumber.userSet);
    EXPECT_EQ(shop.piece(Piece::Worm).drawingNumber.text, "WG-01");
    EXPECT_EQ(shop.piece(Piece::Worm).mateDrawingNumber, "QE-2024-17");
    EXPECT_EQ(shop.piece(Piece::Hob).mateDrawingNumber, "QE-2024-17");
    EXPECT_EQ(shop.piece(Piece::Worm).material.text, "20CrMnTi");
    EXPECT_TRUE(shop.piece(Piece::Worm).material.userSet);
    EXPECT_EQ(shop.date.text, "2024年5月");
    EXPECT_EQ(shop.piece(Piece::Hob).requirements, std::vector<std::string>{"1. 见工艺卡。"});
    EXPECT_TRUE(shop.piece(Piece::Hob).requirementsUserSet);
    EXPECT_EQ(shop.worm.leftShaftDiameter.value, 45.5);
    EXPECT_EQ(shop.worm.leftShaftDiameter.text, "45,50");  // as typed, for the dimension's text
    EXPECT_TRUE(shop.worm.leftShaftDiameter.userSet);
    EXPECT_FALSE(shop.worm.rightShaftDiameter.userSet);
    EXPECT_EQ(shop.wheel.keywayWidth.value, 14);
    EXPECT_FALSE(shop.wheel.keywayDepth.value);
}

TEST(Particulars, DefaultsAreTranslatedAndTheUsersTextsAreNot) {
    const TWormDesign d = WorkedExampleRecord();
    Particulars given;
    Text(given, Id::WormRequirements) = "1. 自定";
    const auto english = [](const char* context, const char* text) {
        return std::string(context) == "wormgear::Drawings" ? std::string("EN:") + text : std::string(text);
    };
    const ShopParticulars shop = ResolveParticulars(given, d, "a.cqb", "", '.', english);
    EXPECT_EQ(shop.piece(Piece::Worm).requirements.front(), "1. 自定");
    EXPECT_EQ(shop.piece(Piece::Wheel).requirements.front(),
              std::string("EN:") + DefaultRequirementLines(Piece::Wheel)[0]);
}

TEST(Particulars, DefaultLengthTextsAreRoundedToATenthInTheUsersNotation) {
    EXPECT_EQ(DefaultLengthText(37.8125, '.'), "37.8");
    EXPECT_EQ(DefaultLengthText(37.86, ','), "37,9");
    EXPECT_EQ(DefaultLengthText(38.0, '.'), "38");
}

TEST(Particulars, CharactersAreCodePoints) {
    EXPECT_EQ(CharacterCount(""), 0u);
    EXPECT_EQ(CharacterCount("Ra 0.8 μm"), 9u);
    EXPECT_EQ(CharacterCount("蜗杆"), 2u);
}

}  // namespace
}  // namespace wormgear
