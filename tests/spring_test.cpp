#include "calc/spring.h"

#include <gtest/gtest.h>

#include <cmath>
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
     u"Argumento no válido: la rigidez y la masa tienen signos opuestos; la masa, los diámetros y "
     u"el número de espiras activas deben ser positivos."},
    {"NegativeMass",
     {kAlloySteel, u"8", u"0.012", u"0.1", u"-400"},
     EndType::Squared,
     FaultKind::InvalidArgument,
     u"Argumento no válido: la rigidez y la masa tienen signos opuestos; la masa, los diámetros y "
     u"el número de espiras activas deben ser positivos."},
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
