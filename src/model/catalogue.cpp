#include "model/catalogue.h"

#include <array>

namespace orvela {

namespace {

// Outlines of the left-side types in their local frame, in drawing order; the right-side
// types use them with x negated.
constexpr std::array<TPointDouble, 15> CanineCrown{{{0, 0},
                                                    {20, 3},
                                                    {30, 15},
                                                    {32, 30},
                                                    {40, 55},
                                                    {39, 75},
                                                    {35, 90},
                                                    {2, 110},
                                                    {0, 110},
                                                    {-20, 102},
                                                    {-28, 94},
                                                    {-30, 80},
                                                    {-28, 60},
                                                    {-23, 20},
                                                    {-12, 5}}};

constexpr std::array<TPointDouble, 18> CanineRoot{{{0, 0},
                                                   {20, 3},
                                                   {30, 15},
                                                   {30, -40},
                                                   {27, -70},
                                                   {23, -110},
                                                   {20, -130},
                                                   {15, -145},
                                                   {8, -157},
                                                   {0, -160},
                                                   {-4, -157},
                                                   {-9, -145},
                                                   {-10, -130},
                                                   {-12, -110},
                                                   {-17, -70},
                                                   {-20, -40},
                                                   {-23, 20},
                                                   {-12, 5}}};

constexpr std::array<TPointDouble, 16> FirstPremolarCrown{{{0, 0},
                                                           {15, 1},
                                                           {25, 10},
                                                           {35, 40},
                                                           {34, 55},
                                                           {29, 67},
                                                           {10, 80},
                                                           {0, 85},
                                                           {-5, 83},
                                                           {-15, 73},
                                                           {-32, 60},
                                                           {-35, 50},
                                                           {-34, 35},
                                                           {-26, 15},
                                                           {-25, 8},
                                                           {-20, 3}}};

constexpr std::array<TPointDouble, 17> FirstPremolarRoot{{{0, 0},
                                                          {15, 1},
                                                          {25, 10},
                                                          {22, -15},
                                                          {19, -65},
                                                          {13, -100},
                                                          {8, -130},
                                                          {3, -138},
                                                          {0, -140},
                                                          {-3, -138},
                                                          {-8, -130},
                                                          {-13, -100},
                                                          {-19, -65},
                                                          {-22, -15},
                                                          {-25, 8},
                                                          {-20, 3},
                                                          {0, 0}}};

constexpr std::array<TPointDouble, 20> SecondPremolarCrown{
    {{0, 0},    {20, 0},   {29, 5},   {30, 10}, {36, 30},  {40, 40},  {38, 55},
     {33, 65},  {20, 70},  {4, 78},   {0, 80},  {-13, 74}, {-19, 67}, {-28, 58},
     {-30, 50}, {-29, 36}, {-20, 15}, {-19, 5}, {-10, 0},  {0, 0}}};

constexpr std::array<TPointDouble, 17> SecondPremolarRoot{{{0, 0},
                                                           {20, 0},
                                                           {29, 5},
                                                           {27, -20},
                                                           {24, -70},
                                                           {18, -105},
                                                           {13, -135},
                                                           {8, -143},
                                                           {5, -145},
                                                           {2, -143},
                                                           {-3, -135},
                                                           {-8, -105},
                                                           {-14, -65},
                                                           {-17, -15},
                                                           {-19, 5},
                                                           {-10, 0},
                                                           {0, 0}}};

constexpr std::array<TPointDouble, 31> FirstMolarCrown{
    {{0, 0},    {25, 0},   {50, 5},   {55, 25},  {60, 40}, {60, 50},  {55, 65},  {43, 68},
     {38, 63},  {43, 40},  {38, 63},  {35, 68},  {30, 70}, {20, 71},  {3, 68},   {-4, 60},
     {-5, 50},  {-3, 38},  {-5, 50},  {-4, 60},  {-8, 65}, {-20, 69}, {-30, 70}, {-40, 70},
     {-45, 65}, {-50, 50}, {-50, 40}, {-42, 20}, {-38, 5}, {-20, 0},  {0, 0}}};

constexpr std::array<TPointDouble, 32> FirstMolarRoot{
    {{0, 0},     {25, 0},     {50, 5},     {50, -20},  {60, -60},  {62, -100}, {68, -120},
     {65, -133}, {60, -136},  {50, -130},  {43, -120}, {37, -95},  {8, -40},   {5, -42},
     {0, -50},   {-5, -60},   {-5, -75},   {0, -100},  {5, -115},  {6, -130},  {0, -138},
     {-5, -139}, {-15, -133}, {-28, -110}, {-38, -90}, {-40, -80}, {-40, -60}, {-35, -35},
     {-35, -18}, {-38, 5},    {-20, 0},    {0, 0}}};

// Landmarks (cusp, apex, cRes, cervix), cervix diameter and outlines of each kind. The
// molar's cRes is its own value, not 40 % of the root below the cervix.
constexpr TToothTable Canine{{5, 110}, {5, -160}, {5, -64}, {5, 0}, 60, CanineCrown, CanineRoot};
constexpr TToothTable FirstPremolar{{0, 85}, {0, -140},          {0, -56},         {0, 0},
                                    50,      FirstPremolarCrown, FirstPremolarRoot};
constexpr TToothTable SecondPremolar{{5, 80}, {5, -145},           {5, -58},          {5, 0},
                                     50,      SecondPremolarCrown, SecondPremolarRoot};
constexpr TToothTable FirstMolar{{0, 70}, {0, -139},       {0, -55},      {0, 0},
                                 100,     FirstMolarCrown, FirstMolarRoot};

}  // namespace

void TTooth33::Init() { InitFromTable(33, "Lower Left Canine", Canine, false); }
void TTooth34::Init() { InitFromTable(34, "Lower Left First Premolar", FirstPremolar, false); }
void TTooth35::Init() { InitFromTable(35, "Lower Left Second Premolar", SecondPremolar, false); }
void TTooth36::Init() { InitFromTable(36, "Lower Left First Molar", FirstMolar, false); }
void TTooth43::Init() { InitFromTable(43, "Lower Right Canine", Canine, true); }
void TTooth44::Init() { InitFromTable(44, "Lower Right First Premolar", FirstPremolar, true); }
void TTooth45::Init() { InitFromTable(45, "Lower Right Second Premolar", SecondPremolar, true); }
void TTooth46::Init() { InitFromTable(46, "Lower Right First Molar", FirstMolar, true); }

std::unique_ptr<TTooth> CreateTooth(std::int32_t fdi) {
  switch (fdi) {
    case 33:
      return std::make_unique<TTooth33>();
    case 34:
      return std::make_unique<TTooth34>();
    case 35:
      return std::make_unique<TTooth35>();
    case 36:
      return std::make_unique<TTooth36>();
    case 43:
      return std::make_unique<TTooth43>();
    case 44:
      return std::make_unique<TTooth44>();
    case 45:
      return std::make_unique<TTooth45>();
    case 46:
      return std::make_unique<TTooth46>();
    default:
      return nullptr;
  }
}

bool IsToothType(std::int32_t fdi) { return (fdi >= 33 && fdi <= 36) || (fdi >= 43 && fdi <= 46); }

double StandardBracketDepth(std::int32_t fdi) { return fdi == 33 || fdi == 43 ? 45.0 : 40.0; }

}  // namespace orvela
