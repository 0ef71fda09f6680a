// Fingers on a game's page as a touch screen reports them: every finger down at once in each
// event, each placed by the picture's pixels however large the picture is shown.
import { flipMs, sleep } from './game_page.mjs';

export const swatterTip = { x: 33, y: 38 };  // where a finger holds the swatter, from its corner

export async function touchScreen(game) {
  const session = await game.page.target().createCDPSession();
  const onPage = async (at) => {
    const box = await game.canvasBox();
    return { x: box.x + (at.x + 0.5) * box.width / 640, y: box.y + (at.y + 0.5) * box.height / 480 };
  };
  const fingers = async (type, points) => session.send('Input.dispatchTouchEvent', {
    type, touchPoints: await Promise.all(points.map(async (p, id) => ({ ...(await onPage(p)), id }))),
  });
  const tap = async (at) => {
    await fingers('touchStart', [at]);
    await sleep(3 * flipMs);
    await fingers('touchEnd', []);
  };
  return { fingers, tap };
}

// The middle of a page's element, for a finger or the mouse.
export async function middleOf(page, selector) {
  const box = await (await page.$(selector)).boundingBox();
  return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
}
