// Makes the README's pictures of the page: a sample text converted with a
// colour stop in the Chinese page, on a desktop and on a phone (typing, the
// bar at the bottom in reach). Usage: node screenshot.mjs DESKTOP.png PHONE.png
import {convert, openBrowser, openPage, setControl, waitForOutput} from '../tests/page.mjs';

const sample = '彩色文字,一字一色。Colour for every character of a post!';
const session = await openBrowser();
try {
  const {page} = await openPage(session, {locale: 'zh-CN'});
  await page.setViewportSize({width: 1280, height: 800});
  await page.fill('#text', sample);
  await page.click('#add-stop');
  await setControl(page, 'stop-1', '#ffd21a');
  await setControl(page, 'space', 'oklab');
  await convert(page);
  await page.locator('#output').blur();
  await page.evaluate(() => scrollTo(0, 0));
  await page.screenshot({path: process.argv[2]});

  await page.setViewportSize({width: 390, height: 844});
  await page.click('#colours-section .fold-toggle');
  await page.focus('#text');
  await page.keyboard.press('End');
  await waitForOutput(page);
  await page.screenshot({path: process.argv[3]});
} finally {
  await session.close();
}
