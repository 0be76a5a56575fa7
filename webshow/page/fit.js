// The size a picture is shown at, keeping its aspect ratio: its own, or
// reduced to fit the box, never enlarged. As the player does it: a picture
// taller than the box is first reduced to the box's height, then, when it is
// still too wide, to the box's width. A reduced picture keeps one pixel at
// least in each direction, so that a very thin one stays visible.
export function fitInto(picture, box) {
  let { width, height } = picture;
  if (height > box.height) {
    width *= box.height / height;
    height = box.height;
  }
  if (width > box.width) {
    height *= box.width / width;
    width = box.width;
  }
  return { width: Math.max(1, Math.round(width)), height: Math.max(1, Math.round(height)) };
}
