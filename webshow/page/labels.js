// Texts with a shortcut letter marked by "&", as the player's labels have
// them: the letter is underlined and becomes the access key of target.
export function setLabel(element, text, target = element) {
  element.replaceChildren();
  const at = text.indexOf("&");
  if (at < 0 || at + 1 >= text.length) {
    element.textContent = text.replace("&", "");
    return;
  }
  const letter = document.createElement("u");
  letter.textContent = text[at + 1];
  element.append(text.slice(0, at), letter, text.slice(at + 2));
  target.accessKey = text[at + 1].toLowerCase();
}
