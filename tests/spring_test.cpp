#include "calc/spring.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>

namespace tervanel {
namespace {

constexpr std::u16string_view kAlloySteel = u"Aceros aleados";
constexpr std::u16string_view kPrompt = u"Elija el material del resorte";
const SpringInputs kExample{kAlloySteel, u"8", u"0.012", u"0.1", u"400"};

SpringState withEndType(EndType type) {
    SpringState state;
    state.N2 = inactiveCoils(type);
    return state;
}

TEST(Spring, TheExampleSpringComesOutToTheLastBit) {
    SpringState state = withEndType(EndType::SquaredAndGround);
    const auto result = calculate(kExample, state, u".");
    ASSERT_TRUE(result.ok()) << ::testing::PrintToString(result.error().message);
    EXPECT_EQ(result.value(), u"La rigidez total del resorte es 34257.6 Nw/m; y la frecuencia "
                              u"natural es de 2.08297280969584 Hz");
    EXPECT_EQ(state.N, 6);
    EXPECT_EQ(state.G, 79'300'000'000.0);
    EXPECT_EQ(state.K, 34257.59999999999);
    EXPECT_EQ(state.W * (2 * std::numbers::pi), 13.08770415313549);
    EXPECT_EQ(state.W, 13.08770415313549 / (2 * std::numbers::pi));
}

// The example typed with units, in any case, with a comma or an exponent, or with other words
// after the numbers, is the same spring to the last bit.
TEST(Spring, UnitsGiveTheSameSpringAsMetresAndKilograms) {
    SpringState metres = withEndType(EndType::SquaredAndGround);
    const auto expected = calculate(kExample, metres, u".");
    ASSERT_TRUE(expected.ok());
    const SpringInputs rows[] = {
        // material  coils         d            D           m
        {kAlloySteel, u"8", u"12 mm", u"100 mm", u"400 kg"},
        {kAlloySteel, u"8", u"1,2 cm", u"10 cm", u"0,4 t"},
        {kAlloySteel, u"8", u"0.012 m", u"0,1M", u"400000 g"},
        {kAlloySteel, u"8", u"1.2e1MM", u"1e2 Mm", u"4e5G"},
        {kAlloySteel, u"8", u"12mm", u"0.1", u"0,4T"},
        {kAlloySteel, u"8 espiras", u"0.012 metros", u"0.1metro", u"400 kilos"},
        {kAlloySteel, u"8", u"0.012 mmx", u"0.1 mx", u"400 kgs"},
    };
    for (const SpringInputs& inputs : rows) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(inputs.wireDiameter)));
        SpringState state = withEndType(EndType::SquaredAndGround);
        const auto result = calculate(inputs, state, u".");
        ASSERT_TRUE(result.ok()) << ::testing::PrintToString(result.error().message);
        EXPECT_EQ(result.value(), expected.value());
        EXPECT_EQ(std::bit_cast<std::uint64_t>(state.K), std::bit_cast<std::uint64_t>(metres.K));
        EXPECT_EQ(std::bit_cast<std::uint64_t>(state.W), std::bit_cast<std::uint64_t>(metres.W));
    }
}

TEST(Spring, ACommaIsADecimalPointInAndOut) {
    SpringState state = withEndType(EndType::SquaredAndGround);
    const auto result = calculate({kAlloySteel, u"8", u"0,012", u"0,1", u"400"}, state, u",");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value(), u"La rigidez total del resorte es 34257,6 Nw/m; y la frecuencia "
                              u"natural es de 2,08297280969584 Hz");
}

TEST(Spring, EveryMaterialOfTheListIsRecognised) {
    for (const Material& material : kMaterials) {
        SpringState state = withEndType(EndType::Squared);
        SpringInputs inputs = kExample;
        inputs.material = material.name;
        ASSERT_TRUE(calculate(inputs, state, u".").ok())
            << ::testing::PrintToString(std::u16string(material.name));
        EXPECT_EQ(state.G, material.shearModulus);
    }
}

// Diameters whose fourth powers are far beyond the double range still give a finite stiffness.
TEST(Spring, HugeDiametersNeedNotOverflow) {
    SpringState state = withEndType(EndType::SquaredAndGround);
    const auto result = calculate({kAlloySteel, u"8", u"1e100", u"1e130", u"400"}, state, u".");
    ASSERT_TRUE(result.ok()) << ::testing::PrintToString(result.error().message);
    EXPECT_TRUE(std::isfinite(state.K));
    EXPECT_NEAR(state.K / 1.6520833333333333e19, 1.0, 1e-15);
}

TEST(Spring, RoundsTheActiveCoilsHalfToEven) {
    for (const auto& [coils, active] : {std::pair{u"7.5", 8}, {u"6.5", 6}, {u"8,5", 8}}) {
        SpringState state = withEndType(EndType::Plain);
        ASSERT_TRUE(calculate({kAlloySteel, coils, u"0.012", u"0.1", u"400"}, state, u".").ok());
        EXPECT_EQ(state.N, active);
    }
}

struct FaultCase {
    const char* name;
    SpringInputs inputs;
    EndType endType;
    FaultKind kind;
    std::u16string_view message;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class SpringFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SpringFault, StopsWithAMessageNamingTheInput) {
    const FaultCase& c = GetParam();
    SpringState state = withEndType(c.endType);
    const auto result = calculate(c.inputs, state, u".");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().kind, c.kind);
    EXPECT_EQ(result.error().message, c.message);
}

const FaultCase kFaultCases[] = {
    {"EmptyBoxes",
     {kAlloySteel, u"", u"", u"", u""},
     EndType::Plain,
     FaultKind::InvalidOperation,
     u"Operación no válida: el diámetro del redondo es 0, el diámetro medio es 0 y el número de "
     u"espiras activas (espiras menos las inactivas del tipo de extremo) es 0."},
    {"TwoCoilsWithSquaredEnds",
     {kAlloySteel, u"2", u"0.012", u"0.1", u"400"},
     EndType::Squared,
     FaultKind::DivisionByZero,
     u"División por cero: el número de espiras activas (espiras menos las inactivas del tipo de "
     u"extremo) es 0."},
    {"ZeroMeanDiameter",
     {kAlloySteel, u"8", u"0.012", u"0", u"400"},
     EndType::Squared,
     FaultKind::DivisionByZero,
     u"División por cero: el diámetro medio es 0."},
    {"EmptyMass",
     {kAlloySteel, u"8", u"0.012", u"0.1", u""},
     EndType::Squared,
     FaultKind::DivisionByZero,
     u"División por cero: la masa es 0."},
    {"ZeroStiffnessAndMass",
     {kAlloySteel, u"8", u"0", u"0.1", u"0"},
     EndType::Squared,
     FaultKind::InvalidOperation,
     u"Operación no válida: la masa es 0 y la rigidez es 0."},
    {"OneCoilWithSquaredEnds",
     {kAlloySteel, u"1", u"0.012", u"0.1", u"400"},
     EndType::Squared,
     FaultKind::InvalidArgument,
     u"Argumento no válido: la rigidez es negativa; revise el número de espiras, el tipo de "
     u"extremo y los diámetros."},
    {"NegativeMeanDiameter",
     {kAlloySteel, u"8", u"0.012", u"-0.1", u"400"},
     EndType::Squared,
     FaultKind::InvalidArgument,
     u"Argumento no válido: la rigidez es negativa; revise el número de espiras, el tipo de "
     u"extremo y los diámetros."},
    {"NegativeMass",
     {kAlloySteel, u"8", u"0.012", u"0.1", u"-400"},
     EndType::Squared,
     FaultKind::InvalidArgument,
     u"Argumento no válido: la masa es negativa."},
    {"NegativeMassWithZeroStiffness",
     {kAlloySteel, u"8", u"0", u"0.1", u"-400"},
     EndType::Squared,
     FaultKind::InvalidArgument,
     u"Argumento no válido: la masa es negativa."},
    {"NegativeMassWithNegativeZeroStiffness",
     {kAlloySteel, u"8", u"0", u"-0.1", u"-400"},
     EndType::Squared,
     FaultKind::InvalidArgument,
     u"Argumento no válido: la masa es negativa."},
    {"NegativeCoilsAndMass",
     {kAlloySteel, u"-8", u"0.012", u"0.1", u"-400"},
     EndType::Plain,
     FaultKind::InvalidArgument,
     u"Argumento no válido: la masa y la rigidez son negativas; revise el número de espiras, el "
     u"tipo de extremo y los diámetros."},
    {"NegativeStiffnessOverATinyMass", // 2K/m beyond the double range: the sign is the cause
     {kAlloySteel, u"8", u"1", u"-1", u"1e-300"},
     EndType::Squared,
     FaultKind::InvalidArgument,
     u"Argumento no válido: la rigidez es negativa; revise el número de espiras, el tipo de "
     u"extremo y los diámetros."},
    {"NegativeStiffnessOverAHugeMass", // 2K/m rounds to -0: still no frequency
     {kAlloySteel, u"8", u"1e-80", u"-1", u"1e300"},
     EndType::Squared,
     FaultKind::InvalidArgument,
     u"Argumento no válido: la rigidez es negativa; revise el número de espiras, el tipo de "
     u"extremo y los diámetros."},
    {"ZeroMassWithNegativeStiffness", // the checks for a zero mass come first
     {kAlloySteel, u"1", u"0.012", u"0.1", u"0"},
     EndType::Squared,
     FaultKind::DivisionByZero,
     u"División por cero: la masa es 0."},
    {"NegativeZeroMass",
     {kAlloySteel, u"8", u"0.012", u"0.1", u"-0"},
     EndType::Squared,
     FaultKind::DivisionByZero,
     u"División por cero: la masa es 0."},
    {"NegativeZeroMassAndStiffness",
     {kAlloySteel, u"8", u"0", u"-0.1", u"-0"},
     EndType::Squared,
     FaultKind::InvalidOperation,
     u"Operación no válida: la masa es 0 y la rigidez es 0."},
    {"CoilsBeyondTheDoubleRange",
     {kAlloySteel, u"1e400", u"0.012", u"0.1", u"400"},
     EndType::Squared,
     FaultKind::Overflow,
     u"Desbordamiento: el número de espiras es demasiado grande."},
    {"CoilsBeyondSixteenBits",
     {kAlloySteel, u"32770", u"0.012", u"0.1", u"400"},
     EndType::Squared,
     FaultKind::Overflow,
     u"Desbordamiento: el número de espiras activas no está entre -32768 y 32767."},
    {"AMillimetreTooLarge",
     {kAlloySteel, u"8", u"0.012", u"1e312 mm", u"400"},
     EndType::Squared,
     FaultKind::Overflow,
     u"Desbordamiento: el diámetro medio es demasiado grande."},
    {"WireDiameterBeyondTheDoubleRange",
     {kAlloySteel, u"8", u"2e308", u"0.1", u"400"},
     EndType::Squared,
     FaultKind::Overflow,
     u"Desbordamiento: el diámetro del redondo es demasiado grande."},
    {"MeanDiameterBeyondTheDoubleRange",
     {kAlloySteel, u"8", u"0.012", u"-1e999", u"400"},
     EndType::Squared,
     FaultKind::Overflow,
     u"Desbordamiento: el diámetro medio es demasiado grande."},
    {"MassBeyondTheDoubleRange",
     {kAlloySteel, u"8", u"0.012", u"0.1", u"1e309"},
     EndType::Squared,
     FaultKind::Overflow,
     u"Desbordamiento: la masa es demasiado grande."},
    {"StiffnessBeyondTheDoubleRange",
     {kAlloySteel, u"8", u"1e200", u"1", u"400"},
     EndType::Squared,
     FaultKind::Overflow,
     u"Desbordamiento: la rigidez supera el mayor número representable; revise los diámetros."},
    {"FrequencyBeyondTheDoubleRange",
     {kAlloySteel, u"8", u"1", u"1e-90", u"1e-100"},
     EndType::Squared,
     FaultKind::Overflow,
     u"Desbordamiento: la frecuencia supera el mayor número representable; revise la masa."},
};

INSTANTIATE_TEST_SUITE_P(Cases, SpringFault, ::testing::ValuesIn(kFaultCases),
                         [](const auto& row) { return std::string(row.param.name); });

// The name must match code unit for code unit; a near miss is refused, not computed with G = 0
// or with the modulus of the material recognised before.
TEST(Spring, AnUnrecognisedMaterialChangesNothing) {
    const std::u16string_view misses[] = {kPrompt,
                                          u"aceros aleados",
                                          u"Aceros aleados ",
                                          u" Aceros aleados",
                                          u"Acero inoxidable (Austenítico)",
                                          u"Aleaciones de Níquel",
                                          u""};
    for (const std::u16string_view material : misses) {
        SpringState state = withEndType(EndType::SquaredAndGround);
        ASSERT_TRUE(calculate(kExample, state, u".").ok());
        const SpringState before = state;
        SpringInputs inputs = kExample;
        inputs.material = material;
        inputs.coils = u"12";
        const auto result = calculate(inputs, state, u".");
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().kind, FaultKind::UnrecognisedMaterial);
        EXPECT_EQ(result.error().message,
                  u"Material no reconocido: elija uno de los materiales de la lista; el nombre "
                  u"debe coincidir exactamente, con sus mayúsculas, acentos y espacios.");
        EXPECT_EQ(state.N, before.N);
        EXPECT_EQ(state.G, before.G);
        EXPECT_EQ(state.K, before.K);
        EXPECT_EQ(state.W, before.W);
    }
}

// A unit of another quantity changes nothing (neither the new material's G nor the new N is
// stored), whichever box holds it, even where another box would have stopped the calculation
// sooner; the first refused box in the calculation's order is named.
TEST(Spring, ARefusedUnitChangesNothing) {
    constexpr std::u16string_view kCoilsRule =
        u"Unidad no válida: el número de espiras se escribe sin unidad.";
    constexpr std::u16string_view kWireRule =
        u"Unidad no válida: el diámetro del redondo se escribe en m, cm o mm.";
    constexpr std::u16string_view kMeanRule =
        u"Unidad no válida: el diámetro medio se escribe en m, cm o mm.";
    constexpr std::u16string_view kMassRule = u"Unidad no válida: la masa se escribe en kg, g o t.";
    const struct {
        SpringInputs inputs;
        std::u16string_view message;
    } rows[] = {
        {{{}, u"8 m", u"0.012", u"0.1", u"400"}, kCoilsRule},
        {{{}, u"8mm", u"0.012", u"0.1", u"400"}, kCoilsRule},
        {{{}, u"8 KG", u"0.012", u"0.1", u"400"}, kCoilsRule},
        {{{}, u"8 t", u"0.012", u"0.1", u"400"}, kCoilsRule},
        {{{}, u"12", u"12 kg", u"0.1", u"400"}, kWireRule},
        {{{}, u"12", u"12 G", u"0.1", u"400"}, kWireRule},
        {{{}, u"12", u"1e400 t", u"0.1", u"400"}, kWireRule}, // the unit before the size
        {{{}, u"12", u"0.012", u"100 g", u"400"}, kMeanRule},
        {{{}, u"12", u"0.012", u"0,1 T", u"400"}, kMeanRule},
        {{{}, u"12", u"0.012", u"0.1", u"400 mm"}, kMassRule},
        {{{}, u"12", u"0.012", u"0.1", u"400 M"}, kMassRule},
        {{{}, u"12", u"0.012", u"0.1", u"40 cm"}, kMassRule},
        {{{}, u"1e400", u"0.012", u"0.1", u"-400 m"}, kMassRule}, // before a number too large
        {{{}, u"2", u"0.012", u"0.1", u"0 m"}, kMassRule},        // before a division by 0
        {{{}, u"8 g", u"12 kg", u"0.1", u"400 mm"}, kCoilsRule},
        {{{}, u"12", u"0.012", u"100 kg", u"400 mm"}, kMeanRule},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(std::u16string(row.inputs.coils) + u"|" +
                                              std::u16string(row.inputs.wireDiameter) + u"|" +
                                              std::u16string(row.inputs.meanDiameter) + u"|" +
                                              std::u16string(row.inputs.mass)));
        SpringState state = withEndType(EndType::SquaredAndGround);
        ASSERT_TRUE(calculate(kExample, state, u".").ok());
        const SpringState before = state;
        SpringInputs inputs = row.inputs;
        inputs.material = u"Aleaciones de Niquel";
        const auto result = calculate(inputs, state, u".");
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().kind, FaultKind::InvalidUnit);
        EXPECT_EQ(result.error().message, row.message);
        EXPECT_EQ(state.G, before.G);
        EXPECT_EQ(state.N, before.N);
        EXPECT_EQ(state.K, before.K);
        EXPECT_EQ(state.W, before.W);
    }
}

// A negative zero is no negative value: d = 0 over a negative D gives K = -0, and a frequency 0.
TEST(Spring, ANegativeZeroStiffnessIsNoNegativeSpring) {
    SpringState state = withEndType(EndType::Squared);
    const auto result = calculate({kAlloySteel, u"8", u"0", u"-0.1", u"400"}, state, u".");
    ASSERT_TRUE(result.ok()) << ::testing::PrintToString(result.error().message);
    EXPECT_EQ(result.value(),
              u"La rigidez total del resorte es 0 Nw/m; y la frecuencia natural es de 0 Hz");
    EXPECT_TRUE(std::signbit(state.K));
}

// A negative stiffness is stored before the frequency step refuses it, as every stored value
// stays stored after a later fault; the frequency keeps the last one computed.
TEST(Spring, ANegativeStiffnessStaysStored) {
    SpringState state = withEndType(EndType::Squared);
    ASSERT_TRUE(calculate({kAlloySteel, u"3", u"0.012", u"0.1", u"400"}, state, u".").ok());
    const double oneCoil = state.K;
    const double previousW = state.W;
    ASSERT_FALSE(calculate({kAlloySteel, u"1", u"0.012", u"0.1", u"400"}, state, u".").ok());
    EXPECT_EQ(state.N, -1);
    EXPECT_EQ(state.K, -oneCoil);
    EXPECT_EQ(state.W, previousW);
}

// What was stored before a fault stays stored; the stiffness is stored before it is checked.
TEST(Spring, AFaultKeepsWhatWasStoredBeforeIt) {
    SpringState state = withEndType(EndType::Squared);
    ASSERT_TRUE(calculate(kExample, state, u".").ok());
    const double previousW = state.W;

    SpringInputs inputs = kExample;
    inputs.material = u"Aleaciones de Niquel";
    inputs.coils = u"2";
    ASSERT_FALSE(calculate(inputs, state, u".").ok());
    EXPECT_EQ(state.G, 75'800'000'000.0);
    EXPECT_EQ(state.N, 0);
    EXPECT_EQ(state.K, std::numeric_limits<double>::infinity());
    EXPECT_EQ(state.W, previousW);
    EXPECT_EQ(state.N2, 2);
}

TEST(Spring, TheEndTypeCarriesOverBetweenCalculations) {
    SpringState state = withEndType(EndType::PlainAndGround);
    for (int run = 0; run < 2; ++run) {
        const auto result = calculate(kExample, state, u".");
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(state.N, 7);
        EXPECT_EQ(state.N2, 1);
    }
}

} // namespace
} // namespace tervanel
