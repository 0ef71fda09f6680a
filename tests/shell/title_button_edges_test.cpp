// The title's buttons at their exact edges: a click with the cursor's corner on a button's
// outermost row or column takes the player to its screen; one pixel beyond, nothing happens.
#include <ostream>
#include <string>

#include "globals/current_screen.h"
#include "input/mouse_cursor.h"
#include "tests/support/game_session.h"

namespace {

struct Rect {
  int left, top, right, bottom;
};

enum class Edge { Left, Top, Right, Bottom };

struct EdgeCase {
  std::string name;
  Rect button;
  Screen target;
  Edge edge;
};

void PrintTo(const EdgeCase& edgeCase, std::ostream* out) { *out << edgeCase.name; }

// The point on the edge, half way along it, and the point one pixel beyond it.
struct EdgePoints {
  int onX, onY, beyondX, beyondY;
};

EdgePoints PointsOf(const Rect& r, Edge edge) {
  const int midX = (r.left + r.right) / 2;
  const int midY = (r.top + r.bottom) / 2;
  switch (edge) {
    case Edge::Left: return {r.left, midY, r.left - 1, midY};
    case Edge::Top: return {midX, r.top, midX, r.top - 1};
    case Edge::Right: return {r.right, midY, r.right + 1, midY};
    case Edge::Bottom: return {midX, r.bottom, midX, r.bottom + 1};
  }
  return {};
}

class TitleButtonEdges : public GameSession, public ::testing::WithParamInterface<EdgeCase> {
 protected:
  void ClickWithCornerAt(int x, int y) {
    Cursor.x = x;
    Cursor.y = y;
    ClickLeft();
    Frames(1);
  }
};

TEST_P(TitleButtonEdges, TakeAClickOnTheEdgeAndNotOnePixelBeyond) {
  const EdgePoints points = PointsOf(GetParam().button, GetParam().edge);
  StartGame();
  ClickWithCornerAt(points.beyondX, points.beyondY);
  ASSERT_EQ(Cursor.x, points.beyondX);  // the cursor may go there: the case means something
  ASSERT_EQ(Cursor.y, points.beyondY);
  EXPECT_EQ(CurrentScreen, ScreenTitle) << "a click one pixel beyond the edge acted";
  Frames(15);  // the fly cursor's click has no swat to run out, but the button must be up
  ClickWithCornerAt(points.onX, points.onY);
  EXPECT_EQ(CurrentScreen, GetParam().target) << "a click on the edge did not act";
}

std::vector<EdgeCase> EdgeCases() {
  struct Button {
    const char* name;
    Rect rect;
    Screen target;
  };
  const Button buttons[] = {{"Exit", {25, 425, 86, 450}, ScreenExit},
                            {"Play", {462, 336, 594, 367}, ScreenPlay},
                            {"Credits", {458, 424, 576, 446}, ScreenCredits},
                            {"Highscores", {430, 382, 595, 405}, ScreenHighscores}};
  const std::pair<Edge, const char*> edges[] = {
      {Edge::Left, "Left"}, {Edge::Top, "Top"}, {Edge::Right, "Right"}, {Edge::Bottom, "Bottom"}};
  std::vector<EdgeCase> cases;
  for (const Button& button : buttons) {
    for (const auto& [edge, edgeName] : edges) {
      // The fly cursor's corner stops at row 447: the exit button's bottom rows are out of reach.
      if (std::string(button.name) == "Exit" && edge == Edge::Bottom) continue;
      cases.push_back({std::string(button.name) + edgeName, button.rect, button.target, edge});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryButton, TitleButtonEdges, ::testing::ValuesIn(EdgeCases()),
                         [](const ::testing::TestParamInfo<EdgeCase>& param) {
                           return param.param.name;
                         });

}  // namespace
