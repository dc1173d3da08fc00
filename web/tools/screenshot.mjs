// Makes the README's picture of the page: a sample text converted with a
// colour stop in the Chinese page. Usage: node screenshot.mjs OUTPUT.png
import {convert, openBrowser, openPage, setControl} from '../tests/page.mjs';

const session = await openBrowser();
try {
  const {page} = await openPage(session, {locale: 'zh-CN'});
  await page.setViewportSize({width: 900, height: 800});
  await page.fill('#text', '彩色文字,一字一色。Colour for every character of a post!');
  await page.click('#add-stop');
  await setControl(page, 'stop-1', '#ffd21a');
  await setControl(page, 'space', 'oklab');
  await convert(page);
  await page.locator('#text').blur();
  await page.screenshot({path: process.argv[2], fullPage: true});
} finally {
  await session.close();
}
