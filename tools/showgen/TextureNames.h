#pragma once

// The image files the scene's materials name. Those with alpha (cut-outs and glow masks) are PNG:
// JPEG cannot store an alpha channel.

namespace showgen::tex {

constexpr const char* kNeutralNormal = "bump_neutral.jpg";

constexpr const char* kPaving = "garden_paving.jpg";
constexpr const char* kPavingNormal = "garden_paving_nm.jpg";
constexpr const char* kBrick = "garden_brick.jpg";
constexpr const char* kBrickNormal = "garden_brick_nm.jpg";
constexpr const char* kBrass = "hammered_brass.jpg";
constexpr const char* kBrassNormal = "hammered_brass_nm.jpg";
constexpr const char* kBark = "tree_bark.jpg";
constexpr const char* kBarkNormal = "tree_bark_nm.jpg";
constexpr const char* kWater = "pond_water.jpg";
constexpr const char* kWaterNormal = "pond_water_nm.jpg";
constexpr const char* kRockPlanet = "planet_rock.jpg";
constexpr const char* kRockPlanetNormal = "planet_rock_nm.jpg";

constexpr const char* kGrass = "lawn_grass.jpg";
constexpr const char* kHedge = "hedge_leaves.jpg";
constexpr const char* kMarble = "white_marble.jpg";
constexpr const char* kWood = "oak_planks.jpg";
constexpr const char* kGasPlanet = "planet_gas.jpg";
constexpr const char* kIcePlanet = "planet_ice.jpg";

constexpr const char* kLeaves = "leaf_cluster.png";
constexpr const char* kGrille = "iron_grille.png";
constexpr const char* kLantern = "paper_lantern.png";
constexpr const char* kGlyphs = "glyph_band.png";

} // namespace showgen::tex
